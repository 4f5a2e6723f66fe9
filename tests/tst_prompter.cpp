// File dialogs start where the user last saved or opened the same kind of file.
#include "prompter.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestPrompter : public QObject {
    Q_OBJECT
  private slots:
    void foldersAreRememberedPerKind();
};

void TestPrompter::foldersAreRememberedPerKind() {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("velorin.conf"), QSettings::IniFormat);
    FolderMemory folders(&settings);
    const QString excel = QStringLiteral("excel file (*.xlsx)");
    const QString pdf = QStringLiteral("PDF (*.pdf)");
    QCOMPARE(FolderMemory::fileKind(excel), QStringLiteral("xlsx"));

    // Nothing remembered yet: the page's own suggestion.
    QCOMPARE(folders.startIn(excel, "MeterData202403051407.xlsx"),
             QStringLiteral("MeterData202403051407.xlsx"));

    QVERIFY(QDir(dir.path()).mkpath("exports"));
    const QString exports = dir.filePath("exports");
    folders.remember(excel, exports + "/first.xlsx");
    folders.remember(excel, QString()); // a cancelled dialog
    // The suggested name goes into the remembered folder; a bare folder gives the folder.
    QCOMPARE(folders.startIn(excel, "MeterData202403051407.xlsx"),
             exports + "/MeterData202403051407.xlsx");
    QCOMPARE(folders.startIn(excel, "./"), exports);
    // Another kind of file keeps its own folder.
    QCOMPARE(folders.startIn(pdf, "Report.pdf"), QStringLiteral("Report.pdf"));

    // A folder that has gone is forgotten for the start.
    QVERIFY(QDir(exports).removeRecursively());
    QCOMPARE(folders.startIn(excel, "a.xlsx"), QStringLiteral("a.xlsx"));
}

QTEST_MAIN(TestPrompter)
#include "tst_prompter.moc"
