// The files of the graph window's Save To Disk and Print, through the Plot menu: every
// format on a full disk keeps the old file and tells the user, the chosen file type completes
// a bare name, and pictures record the chosen pixels per inch.

#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "dataentry/DataEdit.h"
#include "desktop/UserInterface.h"
#include "plot/GraphCsv.h"
#include "plot/PlotDialogs.h"
#include "plot/PlotExport.h"
#include "PlotWindowSupport.h"

using namespace torvex;
using torvex::testing::Content;
using torvex::testing::FolderEntries;
using torvex::testing::TFullDisk;
using torvex::testing::WithDialog;

namespace {

const QByteArray kPng("\x89PNG\r\n\x1a\n", 8);
const QByteArray kJpeg("\xff\xd8\xff\xe0", 4);
const QByteArray kSvg("<?xml");
const QByteArray kPdf("%PDF-");
const QByteArray kBmp("BM");

// Chooses Save To Disk, its save dialog answered as the test set up. Save Attributes opens
// unless the file `written` is values; it is worked by `attributes`, then accepted.
void SaveToDisk(TPlotForm& form, const QString& written, const std::function<void(TdlgFormat&)>& attributes = {}) {
    if (GraphFileKindOf(written) == TGraphFileKind::Csv) {
        form.MenuItem("PlotSave")->trigger();
        return;
    }
    WithDialog<TdlgFormat>(form, "PlotSave", [&](TdlgFormat& dialog) {
        if (attributes) attributes(dialog);
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    });
}

}  // namespace

class GraphFilesTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    testing::TPrintingInterface ui_;
    TGraphPlot graph_{"pltDef"};
    std::unique_ptr<TPlotForm> form_;

    // The whole of the values file: what the graph's values make.
    QByteArray CsvBytes() const { return QByteArray::fromStdString(GraphCsvText(graph_)); }

    // Saves (or prints, for "print") into `path`.
    void Write(const QString& route, const QString& path) {
        ui_.Clear();
        ui_.savePath = ui_.printTo = path;
        if (route == "print")
            form_->MenuItem("PlotPrint")->trigger();
        else
            SaveToDisk(*form_, path);
    }

private slots:
    void initTestCase() {
        testing::UseTestEnvironment(settingsDir_.path(), ui_);
        testing::ThreeCurves(graph_);
        graph_.Caption = "Deflection";
        form_ = std::make_unique<TPlotForm>(graph_);
        form_->resize(700, 500);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanupTestCase() {
        form_.reset();
        SetUserInterface(nullptr);
    }

    void aFullDiskKeepsTheOldFile_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("BMP") << "save" << "graph.bmp" << kBmp;
        QTest::newRow("PNG") << "save" << "graph.png" << kPng;
        QTest::newRow("JPEG") << "save" << "graph.jpeg" << kJpeg;
        QTest::newRow("SVG") << "save" << "graph.svg" << kSvg;
        QTest::newRow("PDF") << "save" << "graph.pdf" << kPdf;
        QTest::newRow("CSV") << "save" << "graph.csv" << CsvBytes();
        QTest::newRow("printed to PDF") << "print" << "printed.pdf" << kPdf;
    }
    void aFullDiskKeepsTheOldFile() {
        QFETCH(QString, route);
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        const QByteArray old = QByteArray("the graph saved last week\n").repeated(40);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        {
            // Smaller than any of the files: the first block written fails.
            TFullDisk full(16);
            QVERIFY(full.IsSet());
            Write(route, path);
        }
        QCOMPARE(ui_.shown, QStringList{"Cannot write \"" + path + "\": File too large."});
        QCOMPARE(Content(path), old);
        QCOMPARE(FolderEntries(folder.path()), QStringList{name});
        // With room again the same command replaces it, and leaves nothing else beside it.
        Write(route, path);
        QCOMPARE(ui_.shown, QStringList());
        const QByteArray written = Content(path);
        QVERIFY2(written.startsWith(start), written.left(16).toHex().constData());
        QCOMPARE(FolderEntries(folder.path()), QStringList{name});
    }

    void theChosenFileTypeCompletesABareName_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("Bitmap") << 1 << "deflA" << "deflA.bmp" << kBmp;
        QTest::newRow("PNG image") << 2 << "deflA" << "deflA.png" << kPng;
        QTest::newRow("JPEG image") << 3 << "deflA" << "deflA.jpg" << kJpeg;
        QTest::newRow("SVG drawing") << 4 << "deflA" << "deflA.svg" << kSvg;
        QTest::newRow("PDF document") << 5 << "deflA" << "deflA.pdf" << kPdf;
        QTest::newRow("values") << 6 << "deflA" << "deflA.csv" << CsvBytes();
        // A typed extension wins over the file type; no type reported is the bitmap.
        QTest::newRow("typed .png, Bitmap") << 1 << "deflA.png" << "deflA.png" << kPng;
        QTest::newRow("typed .JPG, PDF") << 5 << "deflA.JPG" << "deflA.JPG" << kJpeg;
        QTest::newRow("no type") << 0 << "deflA" << "deflA.bmp" << kBmp;
        QTest::newRow("folder with a dot") << 2 << "v1.2/deflA" << "v1.2/deflA.png" << kPng;
    }
    void theChosenFileTypeCompletesABareName() {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);
        QTemporaryDir folder;
        if (typed.contains('/')) QVERIFY(QDir(folder.path()).mkdir("v1.2"));
        ui_.Clear();
        ui_.savePath = folder.filePath(typed);
        ui_.saveFilter = filter;
        SaveToDisk(*form_, folder.filePath(written));
        QCOMPARE(ui_.shown, QStringList());
        QCOMPARE(ui_.saveFilters, GraphFileFilters());
        const QByteArray bytes = Content(folder.filePath(written));
        QVERIFY2(bytes.startsWith(start), bytes.left(16).toHex().constData());
        const QString inFolder = QFileInfo(written).path() == "." ? folder.path() : folder.filePath("v1.2");
        QCOMPARE(FolderEntries(inFolder), QStringList{QFileInfo(written).fileName()});
    }

    void filterExtensions() {
        const std::pair<const char*, const char*> cases[] = {
            {"PNG image (*.png)", "png"},          {"JPEG image (*.jpg *.jpeg)", "jpg"},
            {"Torvex 2012 (*.tx4d)", "tx4d"},     {"All Files (*.*)", ""},
            {"Everything (*)", ""},               {"Bitmap", ""},
            {"Two (*.bmp;*.dib)", "bmp"},
        };
        for (const auto& [filter, extension] : cases) QCOMPARE(FilterExtension(filter), QString(extension));
    }

    // The program's own save dialog: the file type picked in its list gives a bare name its
    // extension and is reported to the caller.
    void theSaveDialogCompletesANameWithThePickedType_data() {
        QTest::addColumn<int>("type");  // 0-based in the dialog's list
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("PNG image") << 1 << "deflA" << "deflA.png";
        QTest::newRow("JPEG image") << 2 << "deflA" << "deflA.jpg";
        QTest::newRow("values") << 5 << "deflA" << "deflA.csv";
        QTest::newRow("Bitmap") << 0 << "deflA" << "deflA.bmp";
        QTest::newRow("typed extension") << 1 << "deflA.pdf" << "deflA.pdf";
    }
    void theSaveDialogCompletesANameWithThePickedType() {
        QFETCH(int, type);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        QTemporaryDir folder;
        SetUserInterface(nullptr);
        bool reached = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(types && name);
            reached = true;
            for (int k = 0; k < type; ++k) QTest::keyClick(types, Qt::Key_Down);
            QCOMPARE(types->currentIndex(), type);
            name->setText(typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
        int filter = 0;
        const QString path =
            UserInterface().SaveFileName(form_.get(), "Save As", folder.path(), GraphFileFilters(), "bmp", &filter);
        SetUserInterface(&ui_);
        QVERIFY(reached);
        QCOMPARE(path, folder.filePath(chosen));
        QCOMPARE(filter, type + 1);
    }

    void picturesRecordTheChosenPixelsPerInch_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("ppi");
        QTest::addColumn<int>("dotsPerMetre");
        QTest::newRow("PNG 300") << "graph.png" << 300 << 11811;
        QTest::newRow("PNG 72") << "graph.png" << 72 << 2835;
        QTest::newRow("BMP 300") << "graph.bmp" << 300 << 11811;
        QTest::newRow("BMP 150") << "graph.bmp" << 150 << 5906;
        QTest::newRow("JPEG 300") << "graph.jpg" << 300 << 11811;
        QTest::newRow("JPEG 72") << "graph.jpg" << 72 << 2835;
    }
    void picturesRecordTheChosenPixelsPerInch() {
        QFETCH(QString, name);
        QFETCH(int, ppi);
        QFETCH(int, dotsPerMetre);
        QCOMPARE(DotsPerMetre(ppi), dotsPerMetre);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        ui_.Clear();
        ui_.savePath = path;
        SaveToDisk(*form_, path, [ppi](TdlgFormat& dialog) {
            dialog.deWidth->SetNumber(3);
            dialog.deHeight->SetNumber(2);
            dialog.dePPI->SetNumber(ppi);
        });
        QCOMPARE(ui_.shown, QStringList());
        const QByteArray bytes = Content(path);
        const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
        switch (GraphFileKindOf(path)) {
            case TGraphFileKind::Png: {
                const qsizetype at = bytes.indexOf("pHYs");
                QVERIFY(at > 8 && at + 13 <= bytes.size());
                QCOMPARE(qFromBigEndian<quint32>(data + at + 4), quint32(dotsPerMetre));
                QCOMPARE(qFromBigEndian<quint32>(data + at + 8), quint32(dotsPerMetre));
                QCOMPARE(int(data[at + 12]), 1);  // per metre
                break;
            }
            case TGraphFileKind::Bmp:  // biXPelsPerMeter and biYPelsPerMeter
                QVERIFY(bytes.size() > 54);
                QCOMPARE(qFromLittleEndian<qint32>(data + 38), dotsPerMetre);
                QCOMPARE(qFromLittleEndian<qint32>(data + 42), dotsPerMetre);
                break;
            default:  // JPEG: the JFIF segment first, density in dots per inch (units 1)
                QVERIFY(bytes.startsWith(kJpeg) && bytes.mid(6, 5) == QByteArray("JFIF\0", 5));
                QCOMPARE(int(data[13]), 1);
                QCOMPARE(qFromBigEndian<quint16>(data + 14), quint16(ppi));
                QCOMPARE(qFromBigEndian<quint16>(data + 16), quint16(ppi));
        }
        // The picture has the chosen size in those pixels.
        QCOMPARE(QImage(path).size(), QSize(3 * ppi, 2 * ppi));
    }
};

QTEST_MAIN(GraphFilesTest)
#include "GraphFilesTest.moc"
