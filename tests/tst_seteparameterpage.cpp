// The dE parameter dialog: formula ids per firmware, threshold checks, what it writes and
// every message it shows, against a scripted port and against the virtual instrument.
#include "fakes.h"
#include "scriptedprompter.h"
#include "seteparameterpagefor670.h"
#include "virtualinstrument.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

template <typename T> T* child(QObject& parent, const char* name) {
    T* w = parent.findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("no %s", name);
    return w;
}

struct Dialog {
    ScriptedPrompter prompter;
    setEParameterPageFor670 page;

    Dialog(FramePort* port, const char* model = "KV670", int firmware = 106, bool chinese = false)
        : page(firmware, QString::fromLatin1(model), port, chinese) {
        page.setPrompter(&prompter);
    }
    void ok(const QString& threshold, const char* formulaButton = "formulaBtn_0") {
        child<QRadioButton>(page, formulaButton)->setChecked(true);
        child<QLineEdit>(page, "ThresholdsEdit")->setText(threshold);
        child<QPushButton>(page, "Okbtn")->click();
    }
    bool accepted() const { return page.result() == QDialog::Accepted; }
};

// Formula index and threshold x 10 of a SetDeltaEParam request.
QPair<int, int> written(const QByteArray& frame) {
    if (frame.size() < 11)
        return {-1, -1};
    return {static_cast<uint8_t>(frame[8]),
            static_cast<uint8_t>(frame[9]) | (static_cast<uint8_t>(frame[10]) << 8)};
}

} // namespace

class TestSetEParameterPage : public QObject {
    Q_OBJECT
  private slots:
    void formulaIdsFollowTheFirmware();
    void thresholdsAndMessages();
    void noLinkAndCancelWriteNothing();
    void writesTheInstrument();
};

void TestSetEParameterPage::formulaIdsFollowTheFirmware() {
    struct Case {
        const char* model;
        int firmware;
        bool old;
    };
    for (const Case& c :
         {Case{"KV630", 399, true}, Case{"KV660", 400, false}, Case{"KV670", 106, false}}) {
        FakePort port;
        Dialog d(&port, c.model, c.firmware);
        d.page.show();
        QCOMPARE(d.page.formulaGroup()->checkedId(), 0);
        QCOMPARE(child<QRadioButton>(d.page, "formulaBtn_5")->isVisible(), !c.old);
        QCOMPARE(int(d.page.formulaGroup()->buttons().size()), c.old ? 6 : 7);
        d.ok("1.5", "formulaBtn_6");
        QCOMPARE(written(port.sent.value(0)), qMakePair(c.old ? 5 : 6, 15));
    }
}

void TestSetEParameterPage::thresholdsAndMessages() {
    struct Case {
        const char* text;
        int sent; // -1: refused
    };
    for (const Case& c :
         {Case{"0.1", 1}, Case{"50", 500}, Case{"2.55", 25}, Case{" 7.25 ", 72}, Case{"0.09", -1},
          Case{"50.1", -1}, Case{"", -1}, Case{"abc", -1}, Case{"-3", -1}, Case{"nan", -1}}) {
        FakePort port;
        Dialog d(&port);
        d.ok(QString::fromLatin1(c.text));
        if (c.sent < 0) {
            QVERIFY2(port.sent.isEmpty(), c.text);
            QCOMPARE(d.prompter.messages(),
                     QStringList{"information|Thresholds must between 0.1—50!"});
        } else {
            QCOMPARE(written(port.sent.value(0)).second, c.sent);
        }
    }

    // x 10 is cut toward zero; a product such as 22.999... must not lose a tenth.
    FakePort port;
    Dialog d(&port);
    for (int tenths = 1; tenths <= 500; ++tenths) {
        d.ok(QString::number(tenths / 10.0, 'f', 1));
        QCOMPARE(written(port.sent.last()).second, tenths);
    }
    // No reply: the write failed and the dialog stays open.
    QCOMPARE(d.prompter.messages().last(), "Error|Failed to write △E parameter information!");
    QVERIFY(!d.accepted());

    Dialog chinese(&port, "KV670", 106, true);
    chinese.ok("0");
    chinese.ok("3");
    QCOMPARE(chinese.prompter.messages(),
             QStringList({"提示|阀值必须介于0.1-50之间！", "错误|写入△E参数信息失败！"}));
}

void TestSetEParameterPage::noLinkAndCancelWriteNothing() {
    FakePort port;
    port.open = false;
    Dialog closed(&port);
    closed.ok("5");
    Dialog none(nullptr, "KV670", 106, true);
    none.ok("5");
    QCOMPARE(closed.prompter.messages() + none.prompter.messages(),
             QStringList(2, "Error|Please connect the device first!"));
    QVERIFY(!none.accepted());

    FakePort open;
    Dialog cancelled(&open);
    cancelled.page.show();
    child<QLineEdit>(cancelled.page, "ThresholdsEdit")->setText("5");
    child<QPushButton>(cancelled.page, "Cancelbtn")->click();
    QCOMPARE(cancelled.page.result(), QDialog::Rejected);
    QVERIFY(!cancelled.page.isVisible());
    QVERIFY(open.sent.isEmpty());
}

void TestSetEParameterPage::writesTheInstrument() {
    auto instrument = sim::VirtualInstrument::fromPreset("KV620");
    instrument->setFirmwareVersion(299);
    LinkFramePort port;
    port.setTransportFactory([i = instrument] { return i->createTransport(); });
    port.setDelayFunction([](int) {});
    QVERIFY(port.openLink());

    Dialog d(&port, "KV620", 299);
    d.page.show();
    d.ok("2.55", "formulaBtn_6");
    QVERIFY(d.prompter.shown.isEmpty());
    QVERIFY(d.accepted() && !d.page.isVisible());
    QCOMPARE(int(instrument->deltaEParam().formula), 5);
    QCOMPARE(int(instrument->deltaEParam().threshold), 25);
}

QTEST_MAIN(TestSetEParameterPage)
#include "tst_seteparameterpage.moc"
