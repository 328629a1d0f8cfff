#include "desktop/ExternalPrograms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace torvex {
namespace {

// A setting value as the shell would split it; an unquoted path with blanks is put together
// again below.
std::optional<TProgramCall> CallFromWords(const QStringList& words) {
    if (words.isEmpty()) return std::nullopt;
    qsizetype programWords = 1;
    for (qsizetype count = words.size(); count > 1; --count)
        if (QFileInfo(QStringList(words.mid(0, count)).join(' ')).isFile()) {
            programWords = count;
            break;
        }
    return TProgramCall{QStringList(words.mid(0, programWords)).join(' '), words.mid(programWords)};
}

// The value of a desktop entry's key with its escapes (\s \n \t \r \\) undone.
QString UnescapeValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        out += next == 's' ? QChar(' ') : next == 'n' ? QChar('\n') : next == 't' ? QChar('\t')
             : next == 'r' ? QChar('\r') : next;
    }
    return out;
}

// An Exec line's words: blanks separate them outside double quotes; inside, a backslash takes
// the next character as it is.
QStringList ExecWords(const QString& line) {
    QStringList words;
    QString word;
    bool inWord = false, quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == '"') quoted = false;
            else if (c == '\\' && i + 1 < line.size()) word += line[++i];
            else word += c;
        } else if (c == '"') {
            quoted = inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words << word;
    return words;
}

// The folders desktop entries are looked up in, the user's first.
QStringList ApplicationFolders() {
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty()) home = QDir::homePath() + "/.local/share";
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty()) system = "/usr/local/share:/usr/share";
    QStringList folders;
    for (const QString& folder : (home + ':' + system).split(':', Qt::SkipEmptyParts))
        folders << folder + "/applications";
    return folders;
}

QString FindDesktopEntry(const QString& id) {
    // "kde4-kate.desktop" may also be kde4/kate.desktop.
    QStringList names{id};
    if (id.contains('-')) names << QString(id).replace(id.indexOf('-'), 1, '/');
    for (const QString& folder : ApplicationFolders())
        for (const QString& name : names)
            if (QFileInfo(folder + '/' + name).isFile()) return folder + '/' + name;
    return {};
}

bool Installed(const QString& program) {
    return QFileInfo(program).isAbsolute() ? QFileInfo(program).isExecutable()
                                           : !QStandardPaths::findExecutable(program).isEmpty();
}

// Editors a desktop usually has, in the order they are tried when it names none.
constexpr const char* kUsualEditors[] = {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad",
                                         "pluma", "xed", "featherpad", "leafpad", "geany"};

}  // namespace

std::optional<TProgramCall> EditorFromSetting(const QString& setting) {
    const QString trimmed = setting.trimmed();
    if (trimmed.isEmpty() || trimmed == "xdg-open") return std::nullopt;
    return CallFromWords(QProcess::splitCommand(trimmed));
}

std::optional<TProgramCall> DesktopEntryCall(const QString& desktopFile, const QString& file) {
    QFile entry(desktopFile);
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    QString exec;
    bool terminal = false, inEntry = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        if (line.startsWith("Exec=")) exec = UnescapeValue(line.mid(5));
        else if (line.startsWith("Terminal=")) terminal = line.mid(9).trimmed() == "true";
    }
    QStringList words;
    bool named = false;
    for (const QString& word : ExecWords(exec)) {
        if (word == "%i" || word == "%c" || word == "%k") continue;
        QString expanded;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != '%' || i + 1 == word.size()) {
                expanded += word[i];
                continue;
            }
            const QChar code = word[++i];
            if (QString("fFuU").contains(code)) {
                expanded += file;
                named = true;
            } else if (code == '%') {
                expanded += '%';
            }  // other field codes are dropped
        }
        words << expanded;
    }
    if (words.isEmpty()) return std::nullopt;
    if (!named) words << file;
    if (terminal) words = QStringList{"x-terminal-emulator", "-e"} + words;
    return TProgramCall{words.first(), words.mid(1)};
}

QString DesktopHandlerOf(const QString& mimeType) {
    QProcess query;
    query.start("xdg-mime", {"query", "default", mimeType});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    // Some desktops answer with several entries separated by ";".
    const QString answer = QString::fromUtf8(query.readAllStandardOutput());
    for (const QString& id : answer.split(QRegularExpression("[;\\s]+"), Qt::SkipEmptyParts)) {
        const QString path = FindDesktopEntry(id);
        if (!path.isEmpty()) return path;
    }
    return {};
}

std::optional<TProgramCall> DesktopTextEditorCall(const QString& file) {
    const QString handler = DesktopHandlerOf("text/plain");
    // TORVEX reads a data file as a project; it is no editor of its text.
    if (!handler.isEmpty() && QFileInfo(handler).fileName() != "torvex.desktop")
        // Only a program that is there: a terminal editor needs a terminal to show in.
        if (auto call = DesktopEntryCall(handler, file); call && Installed(call->Program)) return call;
    for (const char* editor : kUsualEditors) {
        const QString program = QStandardPaths::findExecutable(editor);
        if (!program.isEmpty()) return TProgramCall{program, {file}};
    }
    return std::nullopt;
}

QString NoTextEditorMessage(const QString& file) {
    return "No text editor was found to open \"" + file +
           "\". Choose one under Options, Option of Text Editor.";
}

QString NoViewerMessage(const QString& file) {
    return "No program is installed that shows \"" + QFileInfo(file).fileName() +
           "\". Install a viewer for this type of file, or open " + file + " yourself.";
}

}  // namespace torvex
