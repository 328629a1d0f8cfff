#include "parametric/ParametricStudy.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <stdexcept>
#include <thread>

#include "input/WorkspacePool.h"
#include "output/TextBuffer.h"
#include "project/DataFileReader.h"
#include "project/EchoText.h"
#include "project/Workspace.h"

namespace torvex::engine {

bool TStudyResult::AllConverged() const {
    return !cancelled && std::all_of(rows.begin(), rows.end(), [](const TStudyRow& row) {
        return row.done && row.outcome == TOutcome::Converged;
    });
}

std::vector<double> StudyValues(double from, double to, int count) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i)
        values.push_back(count == 1 ? from : i == count - 1 ? to : from + (to - from) * i / (count - 1));
    return values;
}

size_t StudiedCase(const TStudyKey& key, int stage) {
    if (stage > 0) return static_cast<size_t>(stage - 1);
    const bool longTerm = key.kind == TStudyKey::TKind::Cell && key.name.size() > 4 &&
                          std::equal(key.name.begin(), key.name.begin() + 4, "long",
                                     [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    return longTerm ? static_cast<size_t>(-1) : 0;
}

TStudyRow StudyRowOf(const TFileAnalysis& analysis, size_t caseIndex, double value) {
    TStudyRow row;
    row.value = value;
    row.done = true;
    if (!analysis.error.empty() || analysis.cases.empty()) {
        row.message = analysis.error.empty() ? "The data file holds no case." : analysis.error;
        return row;
    }
    const TCaseResult& c = analysis.cases[std::min(caseIndex, analysis.cases.size() - 1)];
    row.outcome = c.outcome;
    row.message = c.message;
    // The answers of a solution that did not converge would mislead; the outcome says why.
    if (c.outcome != TOutcome::Converged || c.nodes.empty()) return row;
    row.topDeflection = c.nodes.front().y;
    row.maxDeflection = c.MaxBy(&TNodeResult::y)->y;
    row.maxMoment = c.MaxBy(&TNodeResult::moment)->moment;
    row.maxShear = c.MaxBy(&TNodeResult::shear)->shear;
    for (const TSupportForce& support : c.supports) row.supportForces.push_back(support.force);
    if (c.le.method != TLeMethod::NotApplicable && c.le.fState == TLeFactor::Found) row.leF = c.le.F;
    return row;
}

const char* StudyOutcomeText(TOutcome outcome) {
    return outcome == TOutcome::DeflectionExceeded ? "deflection exceeded" : OutcomeText(outcome);
}

namespace {

struct TStudyFile {
    int stages = 1;
    int unitCode = 1;
};

// Reads the file once to check the request before any variant runs.
TStudyFile CheckRequest(const TStudyRequest& request) {
    if (request.count < 1 || request.count > kMaxStudyVariants)
        throw std::invalid_argument("The number of variants must be from 1 to " + std::to_string(kMaxStudyVariants) +
                                    "; " + std::to_string(request.count) + " was given.");
    if (!std::isfinite(request.from) || !std::isfinite(request.to))
        throw std::invalid_argument("The range of " + EchoText(request.key) + " must be two finite numbers.");
    const TPooledWorkspace workspace;
    try {
        ReadDataFileText(*workspace, request.text, request.dataFile, 1);
    } catch (const std::exception& error) {
        std::string message = error.what();
        std::replace(message.begin(), message.end(), '\r', ' ');
        throw std::invalid_argument(request.dataFile + ": the data file cannot be read: " + message);
    }
    TStudyFile file;
    file.stages = std::max(1, workspace->Project().StageCount);
    file.unitCode = workspace->Project().UnitSystem;
    if (request.stage < 0 || request.stage > file.stages || (file.stages == 1 && request.stage > 1))
        throw std::invalid_argument(request.dataFile + " has " +
                                    (file.stages == 1 ? std::string("no stages") : std::to_string(file.stages) + " stages") +
                                    "; stage " + std::to_string(request.stage) + " cannot be studied.");
    return file;
}

// A table, row or column that the input the value goes into lacks stops the study before it
// starts: read as a variant would be, without the change.
void CheckKeyReaches(const TStudyRequest& request, const TStudyKey& key, int editStage) {
    std::string problem;
    AnalyzeDataText(request.text, request.dataFile, [&](TWorkspace& workspace, int stage) {
        if (stage != editStage) return;
        try {
            StudyKeyValue(workspace, key);
        } catch (const std::invalid_argument& error) {
            problem = error.what();
        }
    });
    if (!problem.empty()) throw std::invalid_argument(problem);
}

}  // namespace

TStudyResult RunStudy(const TStudyRequest& request) {
    const TStudyKey key = ParseStudyKey(request.key);
    const TStudyFile file = CheckRequest(request);
    TStudyResult result;
    result.key = request.key;
    result.unitCode = file.unitCode;
    result.stage = file.stages > 1 ? (request.stage > 0 ? request.stage : file.stages) : 0;
    // Where the value goes: the whole project for an option, the studied stage's input in a
    // staged file, else the file's one input.
    const int editStage = IsProjectWide(key) || file.stages == 1 ? 0 : result.stage;
    CheckKeyReaches(request, key, editStage);
    const size_t caseIndex = StudiedCase(key, result.stage);
    const std::vector<double> values = StudyValues(request.from, request.to, request.count);
    result.rows.resize(values.size());
    for (size_t i = 0; i < values.size(); ++i) result.rows[i].value = values[i];

    std::atomic<size_t> next{0};
    std::atomic<int> done{0};
    const auto cancelled = [&] { return request.cancel && request.cancel->load(); };
    auto worker = [&] {
        for (size_t i = next++; i < values.size() && !cancelled(); i = next++) {
            double applied = values[i];
            const TFileAnalysis analysis =
                AnalyzeDataText(request.text, request.dataFile, [&](TWorkspace& workspace, int stage) {
                    if (stage == editStage) applied = ApplyStudyKey(workspace, key, values[i]);
                });
            result.rows[i] = StudyRowOf(analysis, caseIndex, applied);
            if (i == 0 && !analysis.cases.empty())
                result.caseLabel = analysis.cases[std::min(caseIndex, analysis.cases.size() - 1)].label;
            const int finished = ++done;
            if (request.progress) request.progress(finished, static_cast<int>(values.size()));
        }
    };
    const unsigned cores = request.threads ? request.threads : std::max(1u, std::thread::hardware_concurrency());
    const size_t threadCount = std::min<size_t>(cores, values.size());
    std::vector<std::thread> threads;
    for (size_t t = 1; t < threadCount; ++t) threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads) thread.join();

    result.cancelled = cancelled() && static_cast<size_t>(done.load()) < values.size();
    for (const TStudyRow& row : result.rows) result.supportCount = std::max(result.supportCount, row.supportForces.size());
    return result;
}

namespace {

// The shortest text that reads back as the same double ("0.07", "6e+09"), in any locale.
TTextBuffer& Shortest(TTextBuffer& out, double value) {
    char text[64];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    return out << std::string_view(text, static_cast<size_t>(end - text));
}

// A CSV field of free text: quoted, its quotes doubled, on one line.
void QuotedField(TTextBuffer& out, std::string_view text) {
    out << '"';
    for (const char c : text) {
        if (c == '"') out << '"';
        out << (c == '\r' || c == '\n' ? ' ' : c);
    }
    out << '"';
}

}  // namespace

std::string StudyValueText(double value) {
    TTextBuffer out(64);
    return Shortest(out, value).Take();
}

std::string StudyCsvText(const TStudyResult& result) {
    TTextBuffer out(256 + result.rows.size() * (160 + 24 * result.supportCount));
    out << "value,outcome,top_deflection,max_deflection,max_moment,max_shear";
    for (size_t s = 1; s <= result.supportCount; ++s) {
        out << ",support_";
        out.Int(static_cast<long long>(s)) << "_force";
    }
    out << ",le_F,reason\n";
    for (const TStudyRow& row : result.rows) {
        if (!row.done) continue;
        const bool answers = row.outcome == TOutcome::Converged;
        const auto number = [&](double value, bool present) {
            out << ',';
            if (present) Shortest(out, value);
        };
        Shortest(out, row.value) << ',' << StudyOutcomeText(row.outcome);
        number(row.topDeflection, answers);
        number(row.maxDeflection, answers);
        number(row.maxMoment, answers);
        number(row.maxShear, answers);
        for (size_t s = 0; s < result.supportCount; ++s)
            number(s < row.supportForces.size() ? row.supportForces[s] : 0.0, s < row.supportForces.size());
        number(row.leF.value_or(0.0), row.leF.has_value());
        out << ',';
        if (row.outcome == TOutcome::InputError) QuotedField(out, row.message);
        out << '\n';
    }
    return out.Take();
}

}  // namespace torvex::engine
