// Build-time tool: renders a manual written in Markdown into the PDF that Help opens, and
// optionally into an HTML page, with Qt's own text engine, so that no other tool is needed.
// Usage: torvex-make-manual IN.md OUT.pdf [OUT.html]

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>
#include <iostream>

namespace {

bool Fail(const QString& message) {
    std::cerr << "torvex-make-manual: " << message.toStdString() << "\n";
    return false;
}

bool Render(const QString& in, const QString& pdf, const QString& html) {
    QFile source(in);
    if (!source.open(QIODevice::ReadOnly)) return Fail("cannot read " + in + ": " + source.errorString());
    const QString markdown = QString::fromUtf8(source.readAll());
    QTextDocument document;
    // Pictures are named relative to the manual's folder.
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(in).absolutePath() + "/"));
    document.setDefaultFont(QFont("Liberation Serif", 10));
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    document.setMetaInformation(QTextDocument::DocumentTitle, QFileInfo(in).completeBaseName());
    // Code blocks keep their line breaks but wrap at the page edge instead of running off it.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!block.blockFormat().nonBreakableLines()) continue;
        QTextBlockFormat format = block.blockFormat();
        format.setNonBreakableLines(false);
        QTextCursor(block).setBlockFormat(format);
    }
    // Printing paginates a copy of the document, which resolves no relative names: every
    // picture is put into the document's resources under the name the text uses.
    const QDir folder = QFileInfo(in).absoluteDir();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto part = block.begin(); !part.atEnd(); ++part) {
            const QTextCharFormat format = part.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QString name = format.toImageFormat().name();
            const QImage picture(folder.filePath(name));
            if (picture.isNull()) return Fail("cannot read the picture " + folder.filePath(name));
            document.addResource(QTextDocument::ImageResource, QUrl(name), picture);
        }

    QPdfWriter writer(pdf);
    writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
    writer.setCreator("TORVEX 2012");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
    // Screenshots keep their pixels: at 150 dots per inch a window 800 pixels wide fills most
    // of the text width.
    writer.setResolution(150);
    document.print(&writer);
    if (!QFileInfo(pdf).isFile() || QFileInfo(pdf).size() == 0) return Fail("cannot write " + pdf);

    if (!html.isEmpty()) {
        QFile page(html);
        if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return Fail("cannot write " + html + ": " + page.errorString());
        page.write(document.toHtml().toUtf8());
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Rendering needs fonts, not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3 || arguments.size() > 4) {
        std::cerr << "usage: torvex-make-manual IN.md OUT.pdf [OUT.html]\n";
        return 2;
    }
    return Render(arguments[1], arguments[2], arguments.value(3)) ? 0 : 1;
}
