#include "app/AppSettings.h"

#include <QSettings>

#include "app/FileNames.h"

namespace torvex {
namespace {

constexpr const char* kOrganisation = "Norcel";
constexpr const char* kApplication = "TORVEX";
constexpr const char* kWordProcessorValue = "Word Processor";

QString FileValue(int slot) { return QString("File%1").arg(slot + 1); }

}  // namespace

TStoredSettings ReadStoredSettings() {
    TStoredSettings stored;
    QSettings settings(kOrganisation, kApplication);
    // A damaged store reads as absent: the defaults apply and nothing reaches the user.
    if (settings.status() != QSettings::NoError) return stored;
    settings.beginGroup(kProgramVersion);
    stored.WordProcessor = settings.value(kWordProcessorValue).toString();
    for (int slot = 0; slot < 10; ++slot)
        stored.Files[static_cast<size_t>(slot)] = settings.value(FileValue(slot)).toString().toStdString();
    settings.endGroup();
    return stored;
}

void WriteStoredSettings(const QString& wordProcessor, const std::array<std::string, 10>& files) {
    QSettings settings(kOrganisation, kApplication);
    settings.beginGroup(kProgramVersion);
    settings.setValue(kWordProcessorValue, wordProcessor);
    for (int slot = 0; slot < 10; ++slot)
        settings.setValue(FileValue(slot), QString::fromStdString(files[static_cast<size_t>(slot)]));
    settings.endGroup();
    settings.sync();  // a write error is left unreported: the next run uses its defaults
}

}  // namespace torvex
