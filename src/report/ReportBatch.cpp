#include "report/ReportBatch.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <exception>
#include <ostream>
#include <thread>

#include "desktop/SafeOutput.h"
#include "report/ReportWriter.h"

namespace torvex {
namespace {

struct TFileOutcome {
    std::string line, error;
};

TFileOutcome OneReport(const TReportBatch& batch, const std::string& file) {
    const QString target = ReportFileName(QString::fromStdString(batch.folder), QString::fromStdString(file));
    try {
        const std::unique_ptr<TReportSource> source = ReadReportSource(file);
        if (!source->analysis.error.empty()) return {{}, file + ": " + source->analysis.error};
        TReportSettings settings;
        settings.letter = batch.letter;
        settings.nodeAppendix = batch.nodeAppendix;
        const TReportDocument document = MakeReport(*source, settings);
        SaveBytes(target, document.bytes);
        return {target.toStdString() + ": " + std::to_string(document.pages) + " pages", {}};
    } catch (const std::exception& error) {
        return {{}, file + ": " + error.what()};
    }
}

}  // namespace

int RunReportBatch(const TReportBatch& batch, std::ostream& out, std::ostream& err) {
    if (!QDir().mkpath(QString::fromStdString(batch.folder))) {
        err << "torvex-report: cannot make the folder " << batch.folder << "\n";
        return 2;
    }
    // Two data files of the same name in different folders would overwrite one report.
    QSet<QString> targets;
    for (const std::string& file : batch.files) {
        const QString target = ReportFileName(QString::fromStdString(batch.folder), QString::fromStdString(file));
        if (targets.contains(target)) {
            err << "torvex-report: two data files would both write " << target.toStdString() << "\n";
            return 2;
        }
        targets.insert(target);
    }
    std::vector<TFileOutcome> outcomes(batch.files.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < batch.files.size(); i = next++) outcomes[i] = OneReport(batch, batch.files[i]);
    };
    const unsigned cores = batch.threads ? batch.threads : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::min<size_t>(cores, batch.files.size()); ++t) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    int status = 0;
    for (const TFileOutcome& outcome : outcomes) {
        if (!outcome.error.empty()) {
            err << "torvex-report: " << outcome.error << "\n";
            status = 2;
        } else {
            out << outcome.line << "\n";
        }
    }
    return status;
}

}  // namespace torvex
