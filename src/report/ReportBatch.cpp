#include "report/ReportBatch.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <atomic>
#include <exception>
#include <ostream>
#include <thread>

#include "desktop/SafeOutput.h"
#include "project/EchoText.h"
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
    const QString folder = QString::fromStdString(batch.folder);
    if (QFileInfo(folder).exists() && !QFileInfo(folder).isDir()) {
        err << "torvex-report: " << EchoText(batch.folder) << ": it is a file, not a folder.\n";
        return 2;
    }
    if (!QDir().mkpath(folder)) {
        err << "torvex-report: cannot make the folder " << batch.folder << "\n";
        return 2;
    }
    // Two data files of the same name in different folders would overwrite one report; the
    // same file named twice, as torvex-run --csv takes it, is reported once and listed twice.
    struct TOwner {
        QString data;  // the data file's absolute path
        size_t index;  // where it is first named
    };
    QHash<QString, TOwner> owners;  // by report
    std::vector<size_t> first(batch.files.size());  // the index whose report each file has
    std::vector<size_t> made;
    for (size_t i = 0; i < batch.files.size(); ++i) {
        const QString file = QString::fromStdString(batch.files[i]);
        const QString target = ReportFileName(folder, file);
        const QString data = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
        const auto owner = owners.constFind(target);
        if (owner == owners.constEnd()) {
            owners.insert(target, {data, i});
            first[i] = i;
            made.push_back(i);
        } else if (owner->data == data) {
            first[i] = owner->index;
        } else {
            err << "torvex-report: two data files would both write " << target.toStdString() << "\n";
            return 2;
        }
    }
    std::vector<TFileOutcome> outcomes(batch.files.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t k = next++; k < made.size(); k = next++) outcomes[made[k]] = OneReport(batch, batch.files[made[k]]);
    };
    const unsigned cores = batch.threads ? batch.threads : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::min<size_t>(cores, made.size()); ++t) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    for (size_t i = 0; i < outcomes.size(); ++i) outcomes[i] = outcomes[first[i]];
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
