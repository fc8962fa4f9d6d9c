// SPDX-License-Identifier: GPL-3.0-or-later
#include "KorvalinWindow.h"
#include "PurchasingPowerWindow.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

// Counts the times a widget shows: each one is an announcement of the notification.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show;
        return false;
    }
};

} // namespace

class PurchasingPowerTest : public QObject {
    Q_OBJECT

private:
    KorvalinWindow* main_ = nullptr;

    static QWidget* window() {
        const QWidgetList windows = QApplication::topLevelWidgets();
        const auto found = std::find_if(windows.begin(), windows.end(), [](QWidget* window) {
            return window->objectName() == QStringLiteral("PurchasingPower");
        });
        return found == windows.end() ? nullptr : *found;
    }
    template <typename T = QWidget> static T* field(const char* name) {
        return window()->findChild<T*>(QString::fromLatin1(name));
    }
    static QString sentence() { return field<QLabel>("phrase")->text(); }
    QLineEdit* ecran() { return main_->findChild<QLineEdit*>(QStringLiteral("ecran")); }
    // Types an amount into the converter, converts it to euros if asked, and opens the
    // window by its shortcut.
    void openOn(const QString& typed, bool converted = false) {
        QTest::keyClicks(ecran(), typed);
        if (converted) {
            QTest::keyClick(ecran(), Qt::Key_Return);
        }
        QTest::keyClick(ecran(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(window() && QTest::qWaitForWindowActive(window()));
    }
    static void retype(const char* name, const QString& text) {
        auto* edit = field<QLineEdit>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

private slots:
    void init() {
        main_ = new KorvalinWindow;
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_));
    }
    void cleanup() {
        delete main_;
        main_ = nullptr;
        QVERIFY(!window());
    }

    // Built when first asked for, by a shortcut no editing key of Qt's takes, or from the
    // read-only display's menu too; it goes when the converter closes.
    void opensWhenAskedAndClosesWithTheConverter() {
        QVERIFY(!window());
        auto* action = main_->findChild<QAction*>(QStringLiteral("pouvoirAchat"));
        QVERIFY(action->isShortcutVisibleInContextMenu());
        for (int key = QKeySequence::HelpContents; key <= QKeySequence::Deselect; ++key) {
            QVERIFY(key == QKeySequence::Print || // which La Korvalin has not
                    !QKeySequence::keyBindings(QKeySequence::StandardKey(key))
                         .contains(action->shortcut()));
        }
        auto* ecran2 = main_->findChild<QLineEdit*>(QStringLiteral("ecran2"));
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                  ecran2->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(ecran2, &menuKey);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu && menu->actions().constLast() == action);
        menu->close();
        openOn(QString());
        QCOMPARE(QApplication::focusWidget(), field("somme")); // nothing on show to start from
        main_->close();
        QVERIFY(!window()->isVisible());
    }

    // One sentence, true and whole, or the reason in its place, with nothing to copy.
    // The converter's display is never touched.
    void answersAsTheUserTypes_data() {
        QTest::addColumn<QString>("typed");  // in the converter
        QTest::addColumn<bool>("converted"); // to euros before the window opens
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("inYear"); // empty: the last year, as it opens
        QTest::addColumn<QString>("money");  // to express it in; empty: euros, as it opens
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("copied"); // empty: the copy button is greyed
        const QString house("450\u00A0000 francs de 1985 ont le même pouvoir d'achat que "
                            "143\u00A0368,18 euros de 2025.");
        QTest::newRow("a house") << "450 000" << false << "1985"
                                 << ""
                                 << "" << house << "143368,18";
        QTest::newRow("spaces around the year") << "450 000" << false << " 1985 "
                                                << ""
                                                << "" << house << "143368,18";
        QTest::newRow("a result, in its currency")
            << "100" << true << "2001"
            << ""
            << ""
            << "15,245 euros de 2001 ont le même pouvoir d'achat que 22,71 euros de 2025."
            << "22,71";
        QTest::newRow("anciens francs by their year")
            << "12000" << false << "1952"
            << "1959"
            << "francs"
            << "12\u00A0000 anciens francs de 1952 ont le même pouvoir d'achat que "
               "15\u00A0681,43 anciens francs de 1959."
            << "15681,43";
        QTest::newRow("no year") << "450 000" << false << ""
                                 << ""
                                 << ""
                                 << "Indiquez l'année de la somme, de 1901 à 2025."
                                 << "";
        QTest::newRow("a year in letters")
            << "450 000" << false << "19a5"
            << ""
            << ""
            << "L'année de la somme s'écrit en chiffres, de 1901 à 2025."
            << "";
        QTest::newRow("no year of the value") << "450 000" << false << "1985"
                                              << " "
                                              << ""
                                              << "Indiquez l'année de la valeur, de 1901 à 2025."
                                              << "";
        QTest::newRow("a year outside the index")
            << "450 000" << false << "1850"
            << ""
            << ""
            << "L'indice des prix va de 1901 à 2025\u00A0: 1850 n'y est pas."
            << "";
        QTest::newRow("francs after the franc")
            << "450 000" << false << "1985"
            << "2010"
            << "francs"
            << "Le franc n'avait plus cours en 2010\u00A0: exprimez la somme en euros."
            << "";
        QTest::newRow("markup is text") << "<b>1</b>" << false << "1985"
                                        << ""
                                        << ""
                                        << "«\u00A0\u2068<b>1</b>\u2069\u00A0» n'est pas un "
                                           "montant\u00A0: «\u00A0\u2068<\u2069\u00A0» n'est "
                                           "pas compris."
                                        << "";
    }
    void answersAsTheUserTypes() {
        QFETCH(QString, typed);
        QFETCH(bool, converted);
        QFETCH(QString, year);
        QFETCH(QString, inYear);
        QFETCH(QString, money);
        QFETCH(QString, sentence);
        QFETCH(QString, copied);
        openOn(typed, converted);
        const auto shown = [this] {
            return ecran()->text() + u'|' +
                   main_->findChild<QLabel*>(QStringLiteral("monaie"))->text();
        };
        const QString before = shown();
        QCOMPARE(QApplication::focusWidget(), field("annee"));
        QTest::keyClicks(QApplication::focusWidget(), year);
        if (!inYear.isEmpty()) {
            retype("anneeVoulue", inYear);
        }
        if (!money.isEmpty()) {
            auto* moneys = field<QComboBox>("monnaieVoulue");
            moneys->setCurrentIndex(moneys->findText(money));
        }
        QCOMPARE(this->sentence(), sentence);
        QCOMPARE(field<QLabel>("phrase")->textFormat(), Qt::PlainText);
        auto* copy = field<QPushButton>("copier");
        QCOMPARE(copy->isEnabled(), !copied.isEmpty());
        QApplication::clipboard()->setText(QStringLiteral("rien"));
        copy->click();
        QCOMPARE(QApplication::clipboard()->text(), copied.isEmpty() ? "rien" : copied);
        QCOMPARE(shown(), before);
    }

    // Keyboard alone: every field named in French and reached in order by Tab; the
    // sentence told once each time it settles, never as keys are typed; Escape closes.
    void keyboardAloneAndTheSentenceToldOnce() {
        openOn(QStringLiteral("450 000"));
        auto* notification = window()->findChild<QWidget*>(QStringLiteral("annonce"));
        QCOMPARE(QAccessible::queryAccessibleInterface(notification)->role(),
                 QAccessible::Notification);
        ShowCounter told;
        notification->installEventFilter(&told);
        const auto expect = [&](int times) {
            QCOMPARE(told.shows, times);
            QCOMPARE(notification->accessibleName(), told.shows ? sentence() : QString());
        };
        QTest::keyClicks(field("annee"), QStringLiteral("1985"));
        expect(0);
        QTest::keyClick(field("annee"), Qt::Key_Return);
        expect(1);
        QTest::keyClick(field("annee"), Qt::Key_Tab); // nothing edited since
        expect(1);
        QTest::keyClick(field("anneeVoulue"), Qt::Key_End);
        QTest::keyClicks(field("anneeVoulue"), QStringLiteral("0"));
        QTest::keyClick(field("anneeVoulue"), Qt::Key_Backspace);
        QTest::keyClick(field("anneeVoulue"), Qt::Key_Tab);
        expect(2);
        QTest::keyClick(field("monnaieVoulue"), Qt::Key_Down); // chosen: francs, refused
        expect(3);
        QTest::keyClick(field("monnaieVoulue"), Qt::Key_Up);
        QTest::keyClick(field("monnaieVoulue"), Qt::Key_Return);
        expect(5);

        field("somme")->setFocus();
        for (const char* name :
             {"somme", "monnaie", "annee", "anneeVoulue", "monnaieVoulue", "copier", "fermer"}) {
            QWidget* focused = QApplication::focusWidget();
            QCOMPARE(focused->objectName(), QString::fromLatin1(name));
            const QString accessible =
                QAccessible::queryAccessibleInterface(focused)->text(QAccessible::Name);
            QVERIFY2(accessible.size() > 4 && accessible != focused->objectName(), name);
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        expect(5);
        field("copier")->setFocus();
        QTest::keyClick(field("copier"), Qt::Key_Return);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("143368,18"));
        QTest::keyClick(field("copier"), Qt::Key_Escape);
        QVERIFY(!window()->isVisible());
        expect(5);
    }

    // The source's small type follows the desktop's text size.
    void smallPrintFollowsTheTextSize() {
        openOn(QStringLiteral("1"));
        const QFont before = QApplication::font();
        QFont large = before;
        large.setPointSizeF(20);
        QApplication::setFont(large);
        // What Qt sends each window when the application runs its loop.
        QEvent change(QEvent::ApplicationFontChange);
        QApplication::sendEvent(window(), &change);
        QCOMPARE(field("source")->font().pointSizeF(), 20 * PurchasingPowerWindow::kSmallPrint);
        QCOMPARE(field("phrase")->font().pointSizeF(), 20.0);
        QApplication::setFont(before);
    }
};

QTEST_MAIN(PurchasingPowerTest)
#include "purchasing_power_test.moc"
