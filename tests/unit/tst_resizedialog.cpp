#include "document/CDlgResizeImg.h"
#include "platform/framework/AfxMessageBox.h"
#include "tests/support/ModalAnswerer.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The Resize dialog driven by keystrokes, as a user types.
class TestResizeDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { AfxSetAppTitle(QStringLiteral("Marvu抓图助手")); }
    void typingKeepsTheRatioDigitByDigit();
    void ratioComesFromTheStartingSize();
    void tinyRatioGivesAtLeastOne();
    void clearedBoxRecomputesNothing();
    void emptiedFieldIsReportedAndRestored();
    void outOfRangeIsReportedUntilFixed_data();
    void outOfRangeIsReportedUntilFixed();
    void openingNeverRecomputes();

private:
    static void retype(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static QPushButton *button(CDlgResizeImg &dialog, const QString &text)
    {
        for (QPushButton *b : dialog.findChildren<QPushButton *>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
};

void TestResizeDialog::typingKeepsTheRatioDigitByDigit()
{
    CDlgResizeImg dialog(800, 600, nullptr);
    dialog.show();
    QLineEdit *width = dialog.WidthEdit();
    width->selectAll();
    QStringList heights;
    connect(dialog.HeightEdit(), &QLineEdit::textChanged, [&](const QString &t) { heights << t; });
    QTest::keyClicks(width, QStringLiteral("400"));
    QCOMPARE(heights, (QStringList{"3", "30", "300"}));
    QTest::mouseClick(button(dialog, "OK"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.m_nWidth, 400);
    QCOMPARE(dialog.m_nHeight, 300);
}

void TestResizeDialog::ratioComesFromTheStartingSize()
{
    CDlgResizeImg dialog(640, 480, nullptr);
    dialog.show();
    retype(dialog.WidthEdit(), "101");
    QCOMPARE(dialog.HeightEdit()->text(), QStringLiteral("75")); // 75.75 truncated
    retype(dialog.HeightEdit(), "75");
    QCOMPARE(dialog.WidthEdit()->text(), QStringLiteral("100")); // not back to 101: no drift
}

void TestResizeDialog::tinyRatioGivesAtLeastOne()
{
    for (const QSize start : {QSize(1000, 333), QSize(0, 0)}) {
        CDlgResizeImg dialog(start.width(), start.height(), nullptr);
        dialog.show();
        // From 0 x 0 the height read along with the width is out of range, and said so.
        ModalAnswerer answerer;
        retype(dialog.WidthEdit(), "3");
        QCOMPARE(dialog.HeightEdit()->text(), QStringLiteral("1"));
        QCOMPARE(answerer.texts.size(), start.isEmpty() ? 1 : 0);
    }
}

void TestResizeDialog::clearedBoxRecomputesNothing()
{
    CDlgResizeImg dialog(800, 600, nullptr);
    dialog.show();
    QTest::mouseClick(dialog.KeepRatioBox(), Qt::LeftButton);
    QVERIFY(!dialog.m_bKeepRatio);
    retype(dialog.WidthEdit(), "100");
    QCOMPARE(dialog.HeightEdit()->text(), QStringLiteral("600"));
    ModalAnswerer answerer;
    retype(dialog.HeightEdit(), "abc"); // nothing is reported while the box is clear
    QCOMPARE(answerer.texts.size(), 0);
    retype(dialog.HeightEdit(), "50");
    QTest::mouseClick(dialog.KeepRatioBox(), Qt::LeftButton);
    QVERIFY(dialog.m_bKeepRatio);
    QCOMPARE(dialog.WidthEdit()->text(), QStringLiteral("100")); // ticking recomputes nothing
    QCOMPARE(dialog.HeightEdit()->text(), QStringLiteral("50"));
}

void TestResizeDialog::emptiedFieldIsReportedAndRestored()
{
    CDlgResizeImg dialog(800, 600, nullptr);
    dialog.show();
    retype(dialog.WidthEdit(), "40");
    ModalAnswerer answerer;
    dialog.WidthEdit()->selectAll();
    QTest::keyClick(dialog.WidthEdit(), Qt::Key_Backspace);
    QCOMPARE(answerer.texts, QStringList{"Enter an integer."});
    QCOMPARE(dialog.WidthEdit()->text(), QStringLiteral("40"));
    QCOMPARE(dialog.HeightEdit()->text(), QStringLiteral("30"));
    // "12" followed by letters reads as 12.
    retype(dialog.WidthEdit(), "12px");
    QCOMPARE(dialog.HeightEdit()->text(), QStringLiteral("9"));
}

void TestResizeDialog::outOfRangeIsReportedUntilFixed_data()
{
    QTest::addColumn<int>("startWidth");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("height");
    QTest::newRow("zero") << 800 << "0"
                          << "1";
    QTest::newRow("too large for an int") << 800 << "99999999999"
                                          << "1610612735";
    QTest::newRow("5000 wide at the start") << 5000 << QString() << "600";
}

void TestResizeDialog::outOfRangeIsReportedUntilFixed()
{
    QFETCH(int, startWidth);
    QFETCH(QString, typed);
    QFETCH(QString, height);
    CDlgResizeImg dialog(startWidth, 600, nullptr);
    dialog.show();
    const QString range = QStringLiteral("Enter an integer between 1 and 4096.");
    {
        ModalAnswerer answerer;
        if (!typed.isEmpty())
            retype(dialog.WidthEdit(), typed);
        // Each digit typed beyond the range is reported as it arrives.
        QCOMPARE(answerer.texts.isEmpty(), typed.isEmpty());
        for (const QString &text : answerer.texts)
            QCOMPARE(text, range);
        QCOMPARE(dialog.HeightEdit()->text(), height);
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        ModalAnswerer answerer;
        QTest::mouseClick(button(dialog, "OK"), Qt::LeftButton);
        QVERIFY(answerer.texts.contains(range));
        QVERIFY(dialog.isVisible());
    }
    {
        ModalAnswerer answerer;
        QTest::mouseClick(dialog.KeepRatioBox(), Qt::LeftButton);
    }
    retype(dialog.WidthEdit(), "200");
    retype(dialog.HeightEdit(), "100");
    QTest::mouseClick(button(dialog, "OK"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.m_nWidth, 200);
    QCOMPARE(dialog.m_nHeight, 100);
}

void TestResizeDialog::openingNeverRecomputes()
{
    CDlgResizeImg dialog(800, 601, nullptr);
    dialog.show();
    QCOMPARE(dialog.WidthEdit()->text(), QStringLiteral("800"));
    QCOMPARE(dialog.HeightEdit()->text(), QStringLiteral("601"));
    QVERIFY(dialog.KeepRatioBox()->isChecked());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Resize"));
}

QTEST_MAIN(TestResizeDialog)
#include "tst_resizedialog.moc"
