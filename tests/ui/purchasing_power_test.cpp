// SPDX-License-Identifier: GPL-3.0-or-later
#include "KorvalinWindow.h"
#include "PurchasingPowerWindow.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

// What the user types into the converter ("\r" converts it to euros) and as the year,
// and what the window then says and copies ("": the copy is greyed).
struct Question {
    const char *typed, *year, *sentence, *copied;
};

const Question kQuestions[] = {
    {"100\r", "2001", "15,245 euros de 2001 ont le même pouvoir d'achat que 22,71 euros de 2025.",
     "22,71"},
    {"450 000", "", "Indiquez l'année de la somme, de 1901 à 2025.", ""},
    {"450 000", "19a5", "L'année de la somme s'écrit en chiffres, de 1901 à 2025.", ""},
    {"<b>1</b>", "1985",
     "«\u00A0\u2068<b>1</b>\u2069\u00A0» n'est pas un montant\u00A0: «\u00A0\u2068<\u2069\u00A0» "
     "n'est pas compris.",
     ""},
};

// Counts the announcements of the notification: it shows for each.
struct Shows : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Show;
        return false;
    }
};

} // namespace

class PurchasingPowerTest : public QObject {
    Q_OBJECT

private:
    KorvalinWindow* main_ = nullptr;
    QWidget* window_ = nullptr;

    template <typename T = QWidget> T* field(const char* name) {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* ecran() { return main_->findChild<QLineEdit*>(QStringLiteral("ecran")); }
    // Types into the converter and presses the shortcut.
    void openOn(const QString& typed) {
        QTest::keyClicks(ecran(), typed);
        QTest::keyClick(ecran(), Qt::Key_P, Qt::ControlModifier);
        QTRY_VERIFY((window_ = qobject_cast<PurchasingPowerWindow*>(QApplication::activeWindow())));
    }

private slots:
    void init() {
        main_ = new KorvalinWindow;
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_));
    }
    void cleanup() { delete main_; }

    // Built when first asked for, by its shortcut or from either display's menu; it
    // closes with the converter.
    void opensWhenAskedAndClosesWithTheConverter() {
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{main_});
        auto* action = main_->findChild<QAction*>(QStringLiteral("pouvoirAchat"));
        auto* ecran2 = main_->findChild<QLineEdit*>(QStringLiteral("ecran2"));
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, {}, ecran2->mapToGlobal(QPoint()));
        QApplication::sendEvent(ecran2, &menuKey);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu && menu->actions().constLast() == action);
        QVERIFY(action->isShortcutVisibleInContextMenu());
        menu->close();
        openOn(QString());
        QCOMPARE(QApplication::focusWidget(), field("somme")); // nothing on show to start from
        main_->close();
        QVERIFY(!window_->isVisible());
    }

    // One sentence, plain text, or the reason in its place with nothing to copy; the
    // converter's display as it was.
    void answersAsTheUserTypes() {
        for (const Question& q : kQuestions) {
            cleanup();
            init();
            openOn(QString::fromUtf8(q.typed));
            const QString shown = ecran()->text();
            QTest::keyClicks(field("annee"), QString::fromUtf8(q.year)); // the focus is there
            QCOMPARE(field<QLabel>("phrase")->text(), QString::fromUtf8(q.sentence));
            QCOMPARE(field<QLabel>("phrase")->textFormat(), Qt::PlainText);
            QApplication::clipboard()->setText(QStringLiteral("rien"));
            field<QPushButton>("copier")->click();
            QCOMPARE(QApplication::clipboard()->text(),
                     QString::fromUtf8(*q.copied ? q.copied : "rien"));
            QCOMPARE(ecran()->text(), shown);
        }
    }

    // Keyboard alone, every field named and reached in order; the sentence told once each
    // time it settles (Enter, leaving a field changed, a money chosen), never at each key.
    void keyboardAloneAndTheSentenceToldOnce() {
        openOn(QStringLiteral("450 000"));
        auto* notification = window_->findChild<QWidget*>(QStringLiteral("annonce"));
        Shows told;
        notification->installEventFilter(&told);
        const auto press = [&](const char* name, int times, auto... keys) {
            (QTest::keyClick(field(name), keys), ...);
            QCOMPARE(told.count, times);
            QCOMPARE(notification->accessibleName(), times ? field<QLabel>("phrase")->text() : "");
        };
        press("annee", 0, Qt::Key_1, Qt::Key_9, Qt::Key_8, Qt::Key_5);
        press("annee", 1, Qt::Key_Return, Qt::Key_Tab); // nothing changed since Enter
        press("anneeVoulue", 2, Qt::Key_End, Qt::Key_0, Qt::Key_Backspace, Qt::Key_Tab);
        press("monnaieVoulue", 3, Qt::Key_Down); // francs, refused
        press("monnaieVoulue", 5, Qt::Key_Up, Qt::Key_Return);
        field("somme")->setFocus();
        for (const char* name :
             {"somme", "monnaie", "annee", "anneeVoulue", "monnaieVoulue", "copier", "fermer"}) {
            QWidget* focused = QApplication::focusWidget();
            QCOMPARE(focused->objectName(), QString::fromLatin1(name));
            QVERIFY2(
                QAccessible::queryAccessibleInterface(focused)->text(QAccessible::Name).size() > 4,
                name);
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        field("copier")->setFocus();
        press("copier", 5, Qt::Key_Return, Qt::Key_Escape);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("143368,18"));
        QVERIFY(!window_->isVisible());
    }
};

QTEST_MAIN(PurchasingPowerTest)
#include "purchasing_power_test.moc"
