#include "report/ReportAppendix.h"

#include "Analysis.h"
#include "report/ReportCanvas.h"
#include "report/ReportNumbers.h"
#include "report/ReportTable.h"

namespace torvex {

void DrawNodeAppendix(TReportCanvas& canvas, const std::vector<engine::TCaseResult>& cases) {
    canvas.Heading("Appendix: node results", 1, true);
    for (const engine::TCaseResult& c : cases) {
        if (c.nodes.empty()) continue;
        const TReportUnits u = ReportUnits(c.unitCode);
        TReportTable table;
        table.caption = QString::fromStdString(c.label);
        table.headers = {"Node", "Depth (" + u.length + ")", "Deflection (" + u.length + ")", "Slope",
                         "Moment (" + u.moment + ")", "Shear (" + u.force + ")", "Soil reaction (" + u.lineLoad + ")",
                         "EI (" + u.stiffness + ")", "Line load (" + u.lineLoad + ")"};
        for (size_t i = 0; i < c.nodes.size(); ++i) {
            const engine::TNodeResult& n = c.nodes[i];
            table.Add({QString::number(i), Number(n.depth, 6), Number(n.y, 6), Number(n.slope, 6), Number(n.moment, 6),
                       Number(n.shear, 6), Number(n.reaction, 6), Number(n.EI, 6), Number(n.load, 6)});
        }
        DrawTable(canvas, table);
    }
}

}  // namespace torvex
