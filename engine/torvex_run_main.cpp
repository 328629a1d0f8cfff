// torvex-run FILE...: analyses data files as the program does (output, plot and run-notes files
// beside each), several at a time, and prints one summary line per case.
//
// Exit status: 0 when every case of every file converged; 1 otherwise; 2 when a file is
// missing or unreadable.

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Analysis.h"
#include "ResultFiles.h"

int main(int argc, char** argv) {
    std::vector<std::string> files(argv + 1, argv + argc);
    if (files.empty() || files[0] == "-h" || files[0] == "--help") {
        std::cerr << "usage: torvex-run FILE...\n"
                     "  Analyses each data file and writes its .tx4o, .tx4p and .tx4r files beside it.\n";
        return files.empty() ? 2 : 0;
    }
    std::vector<std::string> summaries(files.size());
    std::vector<int> status(files.size(), 0);
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i = next++; i < files.size(); i = next++) {
            std::error_code error;
            if (!std::filesystem::is_regular_file(files[i], error)) {
                summaries[i] = files[i] + ": no such file\n";
                status[i] = 2;
                continue;
            }
            const auto analysis = torvex::engine::AnalyzeDataFile(files[i]);
            try {
                torvex::engine::WriteResultFiles(analysis, torvex::engine::ResultPathsFor(files[i]));
            } catch (const std::exception& e) {
                summaries[i] = files[i] + ": cannot write the results: " + e.what() + "\n";
                status[i] = 2;
                continue;
            }
            summaries[i] = torvex::engine::SummaryLines(analysis);
            status[i] = !analysis.error.empty() ? 2 : analysis.AllConverged() ? 0 : 1;
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < std::min<size_t>(cores, files.size()); ++t) threads.emplace_back(worker);
    for (auto& thread : threads) thread.join();
    for (const std::string& summary : summaries) std::cout << summary;
    return *std::max_element(status.begin(), status.end());
}
