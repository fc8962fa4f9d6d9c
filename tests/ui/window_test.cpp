// SPDX-License-Identifier: GPL-3.0-or-later
#include "Amount.h"
#include "FailureMessage.h"
#include "Keys.h"
#include "KorvalinWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMetaEnum>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace {

struct ControlSpec {
    const char* name;
    const char* className;
    const char* caption; // nullptr for the two displays
    bool shownAtStart;
    const char* accessibleName; // what the control shows, or the caption of a key
    const char* accessibleDescription;
};

const ControlSpec kControls[] = {
    {"ecran", "QLineEdit", nullptr, true, "Montant",
     "Le montant à convertir, ou le résultat de la conversion"},
    {"monaie", "QLabel", "", true, "", "Devise du montant affiché"},
    {"un", "QPushButton", "1", true, "1", "Tape le chiffre 1"},
    {"deux", "QPushButton", "2", true, "2", "Tape le chiffre 2"},
    {"trois", "QPushButton", "3", true, "3", "Tape le chiffre 3"},
    {"ecran2", "QLineEdit", nullptr, false, "Montant d'origine", "Le montant qui a été converti"},
    {"monaie2", "QLabel", "", false, "", "Devise du montant d'origine"},
    {"quatre", "QPushButton", "4", true, "4", "Tape le chiffre 4"},
    {"cinq", "QPushButton", "5", true, "5", "Tape le chiffre 5"},
    {"six", "QPushButton", "6", true, "6", "Tape le chiffre 6"},
    {"Label1", "QLabel", "Convertir       en:", true, "Convertir       en:", ""},
    {"sept", "QPushButton", "7", true, "7", "Tape le chiffre 7"},
    {"huit", "QPushButton", "8", true, "8", "Tape le chiffre 8"},
    {"neuf", "QPushButton", "9", true, "9", "Tape le chiffre 9"},
    {"euros", "QPushButton", "Euros", true, "Euros",
     "Convertit en euros le montant lu en francs (touche Entrée)"},
    {"off", "QPushButton", "Off", true, "Off", "Ferme La Korvalin"},
    {"zero", "QPushButton", "0", true, "0", "Tape le chiffre 0"},
    {"virgule", "QPushButton", ",", true, "virgule", "Tape la virgule décimale"},
    {"francs", "QPushButton", "Francs", true, "Francs",
     "Convertit en francs le montant lu en euros"},
    {"delete_", "QPushButton", "Delete", true, "Delete", "Efface le montant (touche Échap)"},
};

// What Korvalin.ui describes, read from it: the window's name, style sheet and tab
// order, and each widget's geometry, the window's own included.
struct UiFile {
    QString window;
    QString styleSheet;
    QStringList tabOrder;
    QHash<QString, QRect> geometry;
};

QRect readRect(QXmlStreamReader& xml) {
    QHash<QString, int> side;
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        side[name] = xml.readElementText().toInt();
    }
    return {side["x"], side["y"], side["width"], side["height"]};
}

const UiFile& ui() {
    static const UiFile read = [] {
        QFile file(QStringLiteral(KORVALIN_UI_FILE));
        if (!file.open(QIODevice::ReadOnly)) {
            qFatal("cannot read %s", KORVALIN_UI_FILE);
        }
        UiFile ui;
        QXmlStreamReader xml(&file);
        QStringList widgets; // the widgets open at this point, the window first
        QString property;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == u"widget") {
                widgets.removeLast();
            }
            if (!xml.isStartElement()) {
                continue;
            }
            if (xml.name() == u"widget") {
                widgets << xml.attributes().value(QLatin1String("name")).toString();
                ui.window = widgets.front();
            } else if (xml.name() == u"property") {
                property = xml.attributes().value(QLatin1String("name")).toString();
            } else if (xml.name() == u"rect" && property == u"geometry") {
                ui.geometry[widgets.back()] = readRect(xml);
            } else if (xml.name() == u"string" && property == u"styleSheet") {
                ui.styleSheet = xml.readElementText();
            } else if (xml.name() == u"tabstop") {
                ui.tabOrder << xml.readElementText();
            }
        }
        if (xml.hasError() || ui.geometry.isEmpty() || ui.tabOrder.isEmpty()) {
            qFatal("%s does not read: %s", KORVALIN_UI_FILE, qPrintable(xml.errorString()));
        }
        return ui;
    }();
    return read;
}

QString accessibleName(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// The contrast ratio of two colours as accessibility guidelines define it, 1 to 21.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor textColour(QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    KorvalinWindow* window_ = nullptr;

    template <typename T = QWidget> T* child(const char* name) {
        T* widget = window_->findChild<T*>(QString::fromLatin1(name));
        if (!widget) {
            qFatal("no control %s", name);
        }
        return widget;
    }
    QLineEdit* ecran() { return child<QLineEdit>("ecran"); }
    QLineEdit* ecran2() { return child<QLineEdit>("ecran2"); }
    QLabel* monaie() { return child<QLabel>("monaie"); }
    QLabel* monaie2() { return child<QLabel>("monaie2"); }
    void click(const char* key) { QTest::mouseClick(child<QPushButton>(key), Qt::LeftButton); }
    // The button of a key, as the window wires it.
    QAbstractButton* button(korvalin::KeyId key) {
        return window_->findChild<QButtonGroup*>()->button(static_cast<int>(key));
    }
    QMessageBox* message() { return window_->findChild<QMessageBox*>(); }
    // Types on the keyboard: each key goes to whatever has the focus at that moment.
    void keys(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
        }
    }
    // Types any text, not only what QTest::keyClicks can spell, as one key event.
    void type(const QString& text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(ecran(), &press);
    }

private slots:
    void init() {
        window_ = new KorvalinWindow;
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
    }
    void cleanup() {
        delete window_;
        window_ = nullptr;
    }

    void windowIsFixedAndTitled() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("La Korvalin"));
        QCOMPARE(window_->objectName(), ui().window);
        QCOMPARE(window_->size(), ui().geometry.value(ui().window).size());
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        const Qt::WindowFlags flags = window_->windowFlags();
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    }

    // The display's menu is Qt's own, in French, text for text and state for state; its
    // edits do exactly what Qt's do, and onto a shown result they start a new amount first,
    // as the keyboard's do. "12345" is typed with "23" selected, or 100 converted with "5,"
    // of 15,245 selected; the clipboard holds "7".
    void contextMenuEditsAsTheKeyboardDoes_data() {
        QTest::addColumn<bool>("onResult");
        QTest::addColumn<QStringList>("actions"); // triggered one after the other
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("clipboard");
        const QStringList undone{"delete", "undo"};
        QTest::newRow("delete") << false << QStringList{"delete"} << "145"
                                << "7";
        QTest::newRow("cut") << false << QStringList{"cut"} << "145"
                             << "23";
        QTest::newRow("copy") << false << QStringList{"copy"} << "12345"
                              << "23";
        QTest::newRow("paste") << false << QStringList{"paste"} << "1745"
                               << "7";
        QTest::newRow("undo") << false << undone << "12345"
                              << "7";
        QTest::newRow("redo") << false << undone + QStringList{"redo"} << "145"
                              << "7";
        QTest::newRow("delete a result") << true << QStringList{"delete"} << ""
                                         << "7";
        QTest::newRow("cut a result") << true << QStringList{"cut"} << ""
                                      << "5,";
        QTest::newRow("copy a result") << true << QStringList{"copy"} << "15,245"
                                       << "5,";
        QTest::newRow("paste onto a result") << true << QStringList{"paste"} << "7"
                                             << "7";
        QTest::newRow("nothing to undo") << true << QStringList{"undo"} << "15,245"
                                         << "7";
        QTest::newRow("undo a deleted result") << true << undone << "15,245"
                                               << "7";
    }
    void contextMenuEditsAsTheKeyboardDoes() {
        QFETCH(bool, onResult);
        QFETCH(QStringList, actions);
        QFETCH(QString, after);
        QFETCH(QString, clipboard);
        const auto shown = [](const QMenu& menu) {
            QStringList texts;
            for (const QAction* action : menu.actions()) {
                texts << action->text() + (action->isEnabled() ? "" : " (greyed)");
            }
            return texts;
        };
        QTest::keyClicks(ecran(), onResult ? QStringLiteral("100") : QStringLiteral("12345"));
        if (onResult) {
            QTest::keyClick(ecran(), Qt::Key_Return);
        }
        ecran()->setSelection(1, 2);
        QApplication::clipboard()->setText(QStringLiteral("7"));
        for (const QString& name : actions) {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                    ecran()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(ecran(), &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            const std::unique_ptr<QMenu> qts(ecran()->createStandardContextMenu());
            // Past a result, Annuler and Rétablir also reach what the window cleared.
            if (!onResult || name == actions.front()) {
                QCOMPARE(shown(*menu),
                         shown(*qts) + QStringList({"", QStringLiteral("&Pouvoir d'achat…")}));
            }
            QVERIFY2(shown(*menu).front().startsWith(QStringLiteral("&Annuler\t")),
                     qPrintable(shown(*menu).join(u'|')));
            menu->findChild<QAction*>(name)->trigger();
            menu->close();
        }
        QCOMPARE(ecran()->text(), after);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        const bool resultKept = onResult && after == QStringLiteral("15,245");
        QCOMPARE(monaie()->text().isEmpty(), !resultKept);
        // The converter holds what the display shows.
        click("trois");
        QCOMPARE(ecran()->text(), resultKept ? QStringLiteral("3") : after + u'3');
    }

    void controlsFollowTheDescription() {
        for (const ControlSpec& spec : kControls) {
            QWidget* widget = child(spec.name);
            const QString name = QString::fromLatin1(spec.name);
            QVERIFY2(widget->inherits(spec.className), spec.name);
            QCOMPARE(widget->geometry(), ui().geometry.value(name));
            QVERIFY2(window_->rect().contains(widget->geometry()), spec.name);
            QVERIFY2(widget->isVisible() == spec.shownAtStart, spec.name);
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                QCOMPARE(button->text(), QString::fromUtf8(spec.caption));
            } else if (auto* label = qobject_cast<QLabel*>(widget)) {
                QCOMPARE(label->text(), QString::fromUtf8(spec.caption));
            } else {
                QVERIFY2(qobject_cast<QLineEdit*>(widget)->text().isEmpty(), spec.name);
            }
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(accessible);
            QCOMPARE(accessible->text(QAccessible::Name), QString::fromUtf8(spec.accessibleName));
            QCOMPARE(accessible->text(QAccessible::Description),
                     QString::fromUtf8(spec.accessibleDescription));
        }
    }

    void entryKeysTypeTheirCaption() {
        for (const korvalin::KeyInfo& key : korvalin::kKeys) {
            QVERIFY(button(key.id));
            if (key.typed != '\0') {
                QCOMPARE(button(key.id)->text(), QChar(key.typed));
            }
        }
    }

    // Each control has the font the .ui's style sheet gives it on a bare window of the
    // same names, and the face asked for or its fallback is installed at that weight.
    void fontsResolveToTheLookAskedFor() {
        QWidget bare;
        bare.setObjectName(ui().window);
        bare.setStyleSheet(ui().styleSheet);
        for (const ControlSpec& spec : kControls) {
            QWidget* control = child(spec.name);
            QWidget* twin = nullptr;
            if (qobject_cast<QPushButton*>(control)) {
                twin = new QPushButton(&bare);
            } else if (qobject_cast<QLabel*>(control)) {
                twin = new QLabel(&bare);
            } else {
                twin = new QLineEdit(&bare);
            }
            twin->setObjectName(control->objectName());
            twin->ensurePolished();
            const QFont font = control->font();
            QCOMPARE(font.families(), twin->font().families());
            QCOMPARE(font.pointSizeF(), twin->font().pointSizeF());
            QCOMPARE(font.weight(), twin->font().weight());
            QVERIFY2(twin->font() != bare.font(), spec.name); // a rule of the style sheet applies
            const QFontInfo resolved(font);
            QVERIFY2(font.families().contains(resolved.family()),
                     qPrintable(QString::fromLatin1(spec.name) + " got " + resolved.family()));
            QCOMPARE(resolved.weight(), int(font.weight()));
            QVERIFY(!resolved.italic());
        }
    }

    void captionsAreNeverClipped() {
        click("un");
        click("euros"); // fills monaie and monaie2 with their longest texts
        for (QPushButton* button : window_->findChildren<QPushButton*>()) {
            const QFontMetrics metrics(button->font());
            QVERIFY2(metrics.horizontalAdvance(button->text()) + 4 <= button->width(),
                     qPrintable(button->objectName()));
            QVERIFY2(metrics.height() <= button->height(), qPrintable(button->objectName()));
        }
        for (const QString& currency : {QStringLiteral("Francs"), QStringLiteral("Euros")}) {
            for (QLabel* label : {monaie(), monaie2()}) {
                const QFontMetrics metrics(label->font());
                QVERIFY2(metrics.horizontalAdvance(currency) <= label->contentsRect().width(),
                         qPrintable(label->objectName()));
                QVERIFY2(metrics.height() <= label->height(), qPrintable(label->objectName()));
            }
        }
        // The caption wraps to "Convertir" over "en:" inside its two-line box.
        auto* caption = child<QLabel>("Label1");
        const QFontMetrics metrics(caption->font());
        QVERIFY(metrics.horizontalAdvance(QStringLiteral("Convertir")) <= caption->width());
        QVERIFY(metrics.horizontalAdvance(QStringLiteral("Convertir en:")) > caption->width());
        QVERIFY(2 * metrics.lineSpacing() <= caption->height());
    }

    void coloursAndPicture() {
        click("un");
        click("euros");
        QCOMPARE(textColour(monaie()), QColor(0, 255, 0));
        QCOMPARE(textColour(monaie2()), QColor(255, 255, 192));
        QCOMPARE(textColour(child("Label1")), QColor(255, 255, 255));

        QImageReader reader(QStringLiteral(":/korvalin/background.jpg"));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage picture = reader.read();
        QVERIFY2(!picture.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(picture.size(), QSize(512, 512));

        // The picture is drawn at the top-left corner, and shows through the labels.
        const QImage shown = window_->grab().toImage();
        const QPoint throughLabels[] = {
            {5, 5},                                            // the window itself
            monaie()->geometry().bottomRight() - QPoint(2, 2), // beside "Euros"
            child("Label1")->geometry().bottomRight() - QPoint(2, 2),
        };
        for (const QPoint& point : throughLabels) {
            const QColor expected = picture.pixelColor(point);
            const QColor actual = shown.pixelColor(point);
            QVERIFY2(qAbs(actual.red() - expected.red()) + qAbs(actual.green() - expected.green()) +
                             qAbs(actual.blue() - expected.blue()) <
                         12,
                     qPrintable(QStringLiteral("at %1,%2").arg(point.x()).arg(point.y())));
        }

        const QRect off = child("off")->geometry();
        const QColor offColour = shown.pixelColor(off.topLeft() + QPoint(4, 4));
        QVERIFY(offColour.red() > 200 && offColour.green() < 60 && offColour.blue() < 60);
    }

    void focusStartsInTheMainDisplayAndFollowsTheTabOrder() {
        QCOMPARE(QApplication::focusWidget(), ecran());
        // The .ui's order among the controls shown, back round to the first.
        QStringList order;
        for (const QString& name : ui().tabOrder) {
            if (child(qPrintable(name))->isVisible()) {
                order << name;
            }
        }
        QCOMPARE(order.front(), ecran()->objectName());
        order << order.front();
        for (const QString& name : order.mid(1)) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
        // Once shown, the secondary display joins the order after Euros.
        click("un");
        click("euros");
        child("euros")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ecran2());
    }

    // The focused key's ring stands out on the clouds and on the key, and the focused
    // key cannot be taken for the default key (Euros).
    void focusIsPlainlyVisible() {
        const auto pixel = [this](const QImage& shown, const char* key, int dx) {
            const QRect r = child(key)->geometry();
            return shown.pixelColor(r.left() + dx, r.center().y());
        };
        const QImage unfocused = window_->grab().toImage();
        for (const char* key : {"un", "virgule", "off", "delete_", "euros", "francs"}) {
            child(key)->setFocus();
            const QImage shown = window_->grab().toImage();
            const QColor ring = pixel(shown, key, 1);
            const QColor face = pixel(shown, key, 4);
            const QByteArray at(key);
            QVERIFY2(contrast(ring, pixel(shown, key, -2)) >= 3, at + " on the clouds");
            QVERIFY2(contrast(ring, face) >= 3, at + " on the key");
            QVERIFY2(std::max(contrast(ring, pixel(unfocused, key, 1)),
                              contrast(face, pixel(unfocused, key, 4))) >= 3,
                     at + " against no focus");
            QVERIFY2(contrast(face, pixel(unfocused, "euros", 4)) >= 3 ||
                         contrast(ring, pixel(unfocused, "euros", 1)) >= 3,
                     at + " against the default key");
        }
    }

    void clicksConvertAndTheNextKeyStartsAfresh() {
        click("un");
        click("zero");
        click("zero");
        QCOMPARE(ecran()->text(), QStringLiteral("100"));
        click("euros");
        QCOMPARE(ecran()->text(), QStringLiteral("15,245"));
        QCOMPARE(monaie()->text(), QStringLiteral("Euros"));
        QVERIFY(ecran2()->isVisible() && monaie2()->isVisible());
        QCOMPARE(ecran2()->text(), QStringLiteral("100"));
        QCOMPARE(monaie2()->text(), QStringLiteral("Francs"));
        // A screen reader reads the currencies the labels show.
        QCOMPARE(accessibleName(monaie()), QStringLiteral("Euros"));
        QCOMPARE(accessibleName(monaie2()), QStringLiteral("Francs"));

        click("cinq");
        QCOMPARE(ecran()->text(), QStringLiteral("5"));
        QCOMPARE(monaie()->text(), QString());
        QVERIFY(!ecran2()->isVisible() && !monaie2()->isVisible());

        click("delete_");
        QCOMPARE(ecran()->text(), QString());
    }

    void keyboardAndKeysWorkTogether() {
        QTest::keyClicks(ecran(), QStringLiteral("12"));
        QTest::keyClick(ecran(), Qt::Key_Home);
        click("trois");
        QCOMPARE(ecran()->text(), QStringLiteral("123"));
        QCOMPARE(ecran()->cursorPosition(), 3);
        // A click leaves the focus in the display, so typing goes on there.
        QCOMPARE(QApplication::focusWidget(), ecran());
        QTest::keyClicks(ecran(), QStringLiteral(".5"));
        click("francs");
        QCOMPARE(ecran2()->text(), QStringLiteral("123,5"));
        QCOMPARE(ecran()->text(), QStringLiteral("810,107"));
    }

    // Enter presses the focused key, or Euros from the displays; Escape clears.
    void enterAndEscapeAsOnTheDesktop() {
        struct Case {
            const char* focus; // the control that has the focus
            QKeyCombination key;
            const char* ecranAfter;
            const char* monaieAfter;
        };
        const Case cases[] = {
            {"ecran", Qt::Key_Return, "15,245", "Euros"},
            {"ecran", Qt::Key_Enter, "15,245", "Euros"},
            {"francs", Qt::Key_Enter, "655,957", "Francs"},
            {"francs", Qt::Key_Return, "655,957", "Francs"},
            {"euros", Qt::Key_Return, "15,245", "Euros"},
            {"deux", Qt::Key_Return, "1002", ""},
            {"delete_", Qt::Key_Return, "", ""},
            {"ecran", Qt::Key_Escape, "", ""},
            {"neuf", Qt::Key_Escape, "", ""},
            {"francs", Qt::Key_Space, "655,957", "Francs"},
            {"cinq", Qt::ControlModifier | Qt::Key_V, "100250", ""},
            {"euros", Qt::ShiftModifier | Qt::Key_Insert, "100250", ""},
        };
        QApplication::clipboard()->setText(QStringLiteral("250"));
        for (const Case& c : cases) {
            click("delete_");
            QTest::keyClicks(ecran(), QStringLiteral("100"));
            child(c.focus)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), c.key.key(), c.key.keyboardModifiers());
            QVERIFY2(window_->isVisible(), c.focus);
            QCOMPARE(ecran()->text(), QString::fromLatin1(c.ecranAfter));
            QCOMPARE(monaie()->text(), QString::fromLatin1(c.monaieAfter));
        }
    }

    void typingAlwaysReachesTheAmount() {
        // With a key focused, digits go to the main display and the focus with them.
        QTest::keyClicks(ecran(), QStringLiteral("1"));
        child("sept")->setFocus();
        keys(QStringLiteral("2.5"));
        QCOMPARE(ecran()->text(), QStringLiteral("12.5"));
        QCOMPARE(QApplication::focusWidget(), ecran());

        // What is typed onto a result replaces it; Ctrl+C copies it whole.
        QTest::keyClick(ecran(), Qt::Key_Return);
        QCOMPARE(ecran()->text(), QStringLiteral("1,906"));
        QTest::keyClick(ecran(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1,906"));
        QTest::keyClicks(ecran(), QStringLiteral("5"));
        QCOMPARE(ecran()->text(), QStringLiteral("5"));
        QTest::keyClick(ecran(), Qt::Key_Return);
        QCOMPARE(ecran()->text(), QStringLiteral("0,762"));
        QCOMPARE(ecran2()->text(), QStringLiteral("5"));

        // From the secondary display too, Backspace as well, and from a key pressed with Space.
        ecran2()->setFocus();
        keys(QStringLiteral("3"));
        QCOMPARE(ecran()->text(), QStringLiteral("3"));
        QTest::keyClick(ecran(), Qt::Key_Return);
        ecran2()->setFocus();
        QTest::keyClick(ecran2(), Qt::Key_Backspace);
        QCOMPARE(ecran()->text(), QString());
        QCOMPARE(monaie()->text(), QString());
        child("francs")->setFocus();
        QTest::keyClick(child("francs"), Qt::Key_Space);
        keys(QStringLiteral("4"));
        QCOMPARE(ecran()->text(), QStringLiteral("4"));
    }

    // Any edit of a shown result starts a new amount as an entry key does: the result, its currency
    // and the secondary display go, then the edit applies to the empty display. What is not an edit
    // changes nothing.
    void editsOfAResultStartANewAmount_data() {
        QTest::addColumn<QString>("amount"); // typed, then converted by Enter
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("after"); // the main display then
        QTest::addColumn<bool>("resultKept");
        QTest::addColumn<QString>("clipboard"); // what the clipboard holds then
        const QString pasted = QStringLiteral("100");
        QTest::newRow("digit") << "100" << QKeySequence("7") << "7" << false << pasted;
        QTest::newRow("comma") << "100" << QKeySequence(",") << "," << false << pasted;
        QTest::newRow("point") << "100" << QKeySequence(".") << "." << false << pasted;
        QTest::newRow("backspace")
            << "100" << QKeySequence(Qt::Key_Backspace) << "" << false << pasted;
        QTest::newRow("delete") << "100" << QKeySequence(Qt::Key_Delete) << "" << false << pasted;
        QTest::newRow("paste") << "200" << QKeySequence(QKeySequence::Paste) << "100" << false
                               << pasted;
        QTest::newRow("shift+insert")
            << "200" << QKeySequence("Shift+Ins") << "100" << false << pasted;
        QTest::newRow("cut") << "100" << QKeySequence("Ctrl+A, Ctrl+X") << "" << false << "15,245";
        QTest::newRow("copy") << "100" << QKeySequence("Ctrl+C") << "15,245" << true << "15,245";
        // A refused amount converted nothing: it stays there to correct.
        QTest::newRow("digit after a failure")
            << "1,,2" << QKeySequence("5") << "1,,25" << false << pasted;
        QTest::newRow("backspace, then undo")
            << "100" << QKeySequence("Backspace, Ctrl+Z") << "15,245" << true << pasted;
        QTest::newRow("undone, then redone")
            << "100" << QKeySequence("Backspace, Ctrl+Z, Ctrl+Shift+Z") << "" << false << pasted;
    }
    void editsOfAResultStartANewAmount() {
        QFETCH(QString, amount);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, after);
        QFETCH(bool, resultKept);
        QFETCH(QString, clipboard);
        QTest::keyClicks(ecran(), amount);
        QTest::keyClick(ecran(), Qt::Key_Return);
        if (message()) {
            message()->button(QMessageBox::Ok)->click();
            QTRY_VERIFY(!message());
        }
        QApplication::clipboard()->setText(QStringLiteral("100"));
        QTest::keySequence(ecran(), keys);
        QCOMPARE(ecran()->text(), after);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(monaie()->text().isEmpty(), !resultKept);
        QCOMPARE(ecran2()->isVisible(), resultKept);
        // The converter took the same amount: the next key goes on with it.
        click("trois");
        QCOMPARE(ecran()->text(), resultKept ? QStringLiteral("3") : after + u'3');
    }

    // Every key bound to a standard key and every printable key, bare and with each
    // modifier, pressed on a shown result, whole or selected, with or without a text to
    // paste: whatever edits the amount starts a new one, never showing beside a currency.
    void noKeyEditsAResultInPlace() {
        QList<QKeyCombination> keys;
        const QMetaEnum standard = QMetaEnum::fromType<QKeySequence::StandardKey>();
        for (int i = 0; i < standard.keyCount(); ++i) {
            const auto bound =
                QKeySequence::keyBindings(QKeySequence::StandardKey(standard.value(i)));
            std::transform(bound.begin(), bound.end(), std::back_inserter(keys),
                           [](const QKeySequence& sequence) { return sequence[0]; });
        }
        for (int key = Qt::Key_Space; key <= Qt::Key_ydiaeresis; ++key) {
            if (key <= Qt::Key_AsciiTilde || key >= Qt::Key_nobreakspace) {
                keys << QKeyCombination(Qt::Key(key));
            }
        }
        const Qt::KeyboardModifiers held[] = {Qt::NoModifier,
                                              Qt::ShiftModifier,
                                              Qt::ControlModifier,
                                              Qt::ControlModifier | Qt::ShiftModifier,
                                              Qt::AltModifier,
                                              Qt::KeypadModifier,
                                              Qt::ControlModifier | Qt::KeypadModifier};
        const QMap<QString, QString> results{{"100", "15,245"}, {"15,245", "2,324"}}; // by Enter
        for (const QKeyCombination key : keys) {
            for (const Qt::KeyboardModifiers modifiers : held) {
                for (const bool selected : {false, true}) {
                    click("delete_");
                    type(QStringLiteral("100"));
                    click("euros");
                    ecran()->setSelection(selected ? 0 : 6, selected ? 6 : 0);
                    QApplication::clipboard()->setText(selected ? QString() : QStringLiteral("7"));
                    const QKeyCombination pressed(key.keyboardModifiers() | modifiers, key.key());
                    const int typed = key.key() <= Qt::Key_ydiaeresis
                                          ? int{key.key()}
                                          : QTest::keyToAscii(key.key());
                    QTest::sendKeyEvent(QTest::Click, ecran(), key.key(),
                                        typed ? QString(QChar(typed)).toLower() : QString(),
                                        pressed.keyboardModifiers());
                    QVERIFY2(monaie()->text().isEmpty() ||
                                 results.value(ecran2()->text()) == ecran()->text(),
                             qPrintable(QKeySequence(pressed).toString() +
                                        (selected ? " on the selected result: " : ": ") +
                                        ecran()->text() + " beside " + monaie()->text()));
                    if (QWidget* popup = QApplication::activePopupWidget()) {
                        popup->close();
                    }
                }
            }
        }
    }

    // A double click selects the whole amount, in either display; a third click all of it.
    void doubleClickSelectsTheWholeAmount() {
        type(QStringLiteral("  -1 500,5E+0 F  "));
        click("euros");
        QTest::mouseDClick(ecran2(), Qt::LeftButton, {}, QPoint(10, 9));
        QCOMPARE(ecran2()->selectedText(), QStringLiteral("-1 500,5E+0 F"));
        QTest::mouseDClick(ecran(), Qt::LeftButton, {}, QPoint(140, 12));
        QCOMPARE(ecran()->selectedText(), QStringLiteral("-228,75"));
    }

    // The first key of a new amount acts on an empty display, whatever was selected.
    void aNewAmountStartsWithoutSelection() {
        QTest::keyClicks(ecran(), QStringLiteral("6,55957"));
        QTest::keyClick(ecran(), Qt::Key_Return);
        QCOMPARE(ecran()->text(), QStringLiteral("1"));
        QTest::keyClick(ecran(), Qt::Key_C, Qt::ControlModifier);
        click("un");
        QTest::keyClicks(ecran(), QStringLiteral("2"));
        QCOMPARE(ecran()->text(), QStringLiteral("12"));
    }

    // While the message is open nothing converts again, however the key is pressed.
    void oneMessageAtATime() {
        QTest::keyClicks(ecran(), QStringLiteral("1,,2"));
        click("euros");
        QVERIFY(message());
        child<QPushButton>("euros")->click();
        QAccessibleInterface* francs = QAccessible::queryAccessibleInterface(child("francs"));
        francs->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(window_->findChildren<QMessageBox*>().size(), 1);
        QCOMPARE(monaie()->text(), QString());
        // The message keeps the keyboard, and the window takes no edit meanwhile.
        window_->activateWindow();
        QTRY_VERIFY(message()->isActiveWindow());
        type(QStringLiteral("5"));
        ecran()->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("7"));
        QTest::keyClick(ecran(), Qt::Key_X, Qt::ControlModifier); // a refused cut copies nothing
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("7"));
        QCOMPARE(ecran()->text(), QStringLiteral("1,,2"));
        // A key that reaches the window answers the message, as it would have once the
        // message had the keyboard.
        QTest::keyClick(window_->windowHandle(), Qt::Key_Return);
        QTRY_VERIFY(!message());
        QTRY_COMPARE(QApplication::focusWidget(), ecran());
        QCOMPARE(monaie()->text(), QString());
    }

    void aClickNeverSelectsTheMainDisplay() {
        click("sept");
        click("euros");
        ecran2()->setFocus(); // hidden by the next key, which hands the focus back
        click("sept");
        QCOMPARE(QApplication::focusWidget(), ecran());
        QVERIFY(!ecran()->hasSelectedText());
        QTest::keyClicks(ecran(), QStringLiteral("8"));
        QCOMPARE(ecran()->text(), QStringLiteral("78"));
    }

    void theSecondaryDisplayShowsTheStartOfItsAmount() {
        type(QStringLiteral("10000000000000000"));
        click("euros");
        QCOMPARE(ecran2()->cursorPosition(), 0);
    }

    // Each conversion is announced, whatever has the focus; failures are not.
    void conversionsAreAnnounced() {
        auto* notification = window_->findChild<QWidget*>(QStringLiteral("annonce"));
        QVERIFY(notification);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(notification);
        QCOMPARE(accessible->role(), QAccessible::Notification);
        QVERIFY(!notification->isVisible());

        QTest::keyClicks(ecran(), QStringLiteral("100"));
        click("euros");
        QVERIFY(notification->isVisible());
        QCOMPARE(accessible->text(QAccessible::Name),
                 QStringLiteral("15,245 euros, pour 100 francs"));
        click("francs"); // converts the result back
        QCOMPARE(accessible->text(QAccessible::Name),
                 QStringLiteral("100,001 francs, pour 15,245 euros"));
        type(QStringLiteral("1 500 F"));
        click("euros"); // the amount as read, not as written
        QCOMPARE(accessible->text(QAccessible::Name),
                 QStringLiteral("228,674 euros, pour 1500 francs"));
        click("delete_");
        QTest::keyClicks(ecran(), QStringLiteral("0,2"));
        click("francs");
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("1,312 franc, pour 0,2 euro"));

        // Nothing is announced when nothing converts: a failure, or an empty display.
        notification->hide();
        click("delete_");
        QTest::keyClicks(ecran(), QStringLiteral("1,,2"));
        click("francs");
        message()->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!message());
        click("delete_");
        click("euros");
        QTest::keyClick(ecran(), Qt::Key_Return);
        QVERIFY(!notification->isVisible());
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("1,312 franc, pour 0,2 euro"));
    }

    void failedConversionIsShownAndTheWindowGoesOn() {
        QTest::keyClicks(ecran(), QStringLiteral("1,,2"));
        click("euros");
        QMessageBox* box = message();
        QVERIFY(box);
        QVERIFY(box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral("La Korvalin"));
        QVERIFY(box->text().contains(QStringLiteral("«\u00A0\u20681,,2\u2069\u00A0»")));
        // Nothing was converted, so nothing but the message shows.
        QCOMPARE(ecran()->text(), QStringLiteral("1,,2"));
        QCOMPARE(monaie()->text(), QString());
        QVERIFY(!ecran2()->isVisible() && !monaie2()->isVisible());

        box->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!message());
        QTRY_COMPARE(window_->focusWidget(), ecran());
        QTest::keyClick(ecran(), Qt::Key_Backspace);
        click("sept");
        QCOMPARE(ecran()->text(), QStringLiteral("1,,7"));
    }

    void tooLargeAnAmountHasItsOwnMessage() {
        QTest::keyClicks(ecran(), QStringLiteral("1E+400"));
        click("francs");
        QMessageBox* box = message();
        QVERIFY(box);
        QVERIFY(box->text().contains(QStringLiteral("trop grand")));
        box->button(QMessageBox::Ok)->click();
    }

    void failureMessagesSayWhatWentWrong() {
        using korvalin::Refusal;
        const auto notRead = [](const char* amount) {
            return Refusal{Refusal::Reason::notANumber, korvalin::readAmount(amount).stop};
        };
        const struct {
            Refusal refusal;
            const char* amount;
            QString message;
        } cases[] = {
            {notRead("1,,2"), "1,,2",
             QStringLiteral("«\u00A0\u20681,,2\u2069\u00A0» n'est pas un montant. Tapez des "
                            "chiffres, avec au plus une virgule.")},
            {notRead("1 500 F TTX"), "1 500 F TTX",
             QStringLiteral("«\u00A0\u20681 500 F TTX\u2069\u00A0» n'est pas un montant\u00A0: "
                            "«\u00A0\u2068TTX\u2069\u00A0» n'est pas compris.")},
            {notRead("(15,24 \u20AC)"), "(15,24 \u20AC)",
             QStringLiteral("«\u00A0\u2068(15,24 \u20AC)\u2069\u00A0» n'est pas un montant\u00A0: "
                            "«\u00A0\u2068(\u2069\u00A0» n'est pas compris.")},
            {notRead("1\n2\n3\n"), "1\n2\n3\n",
             QStringLiteral("«\u00A0\u20681\u240A2\u240A3\u240A\u2069\u00A0» tient sur plusieurs "
                            "lignes\u00A0: collez un seul montant à la fois.")},
            {notRead("F"), "F",
             QStringLiteral("«\u00A0\u2068F\u2069\u00A0» n'est pas un montant\u00A0: il n'y a "
                            "aucun chiffre.")},
            {Refusal{Refusal::Reason::overflow}, "1E+400",
             QStringLiteral("Ce montant est trop grand pour être converti.")},
            {Refusal{Refusal::Reason::otherCurrency, {}, korvalin::ConversionDirection::toFrancs},
             "15,24 \u20AC",
             QStringLiteral("«\u00A0\u206815,24 \u20AC\u2069\u00A0» est un montant en euros\u00A0: "
                            "appuyez sur Francs pour le convertir en francs.")},
        };
        for (const auto& c : cases) {
            QCOMPARE(failureMessage(c.refusal, c.amount), c.message);
        }
    }

    // Each mark the quote may show has a glyph in the message's font or its fallbacks.
    void theQuotesMarksAreDrawn() {
        QTest::keyClicks(ecran(), QStringLiteral("x"));
        click("euros");
        QVERIFY(message());
        const QFont font = message()->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->font();
        message()->button(QMessageBox::Ok)->click();
        QString marks = QStringLiteral("\uFFFD\u2026\u2421\u2424");
        for (char16_t c = 0x2400; c < 0x2420; ++c) {
            marks += QChar(c);
        }
        for (const QChar mark : marks) {
            QTextLayout layout(mark, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            QVERIFY2(!runs.isEmpty() && !runs.front().glyphIndexes().contains(0),
                     qPrintable(QStringLiteral("no glyph for U+%1").arg(mark.unicode(), 4, 16)));
        }
    }

    // Whatever is pasted, the message quotes a short, isolated excerpt of it as plain text,
    // the window goes on, and what is converted is what the display showed.
    void hostileTextIsQuotedAsPlainText_data() {
        QTest::addColumn<QByteArray>("pasted"); // UTF-8, not always valid
        QTest::addColumn<QString>("quote");     // what the message quotes of it

        const QByteArray tables = QByteArray("<table><tr><td>").repeated(16);
        QTest::newRow("image") << QByteArray("<img src=\"/dev/zero\">")
                               << QStringLiteral("<img src=\"/dev/zero\">");
        QTest::newRow("tables") << tables << QString::fromUtf8(tables.left(40)) + u'…';
        QTest::newRow("link") << QByteArray("<a href=\"file:///etc/passwd\">X</a>")
                              << QStringLiteral("<a href=\"file:///etc/passwd\">X</a>");
        QTest::newRow("bold") << QByteArray("<b>bold</b>") << QStringLiteral("<b>bold</b>");
        // A right-to-left override and an unclosed right-to-left isolate are shown, not
        // obeyed; so is what draws nothing, as a mark before a valid-looking amount.
        const QString overrides = QChar(0x202E) + QStringLiteral("12,5 ") + QChar(0x2067) + u'x';
        QTest::newRow("right-to-left override")
            << overrides.toUtf8() << QStringLiteral("\uFFFD12,5 \uFFFDx");
        QTest::newRow("invisible characters")
            << QByteArray("\u200E12\u200B\u00AD3\uFE0F\U000E0031")
            << QStringLiteral("\uFFFD12\uFFFD\uFFFD3\uFFFD\uFFFD");
        // One character under 300 accents is too long to quote, and is not cut.
        QTest::newRow("combining marks")
            << "1a" + QByteArray("\u0301").repeated(300) << QStringLiteral("1…");
        QTest::newRow("controls") << QByteArray("1\0002\t3\x1b[0m\x7f", 10)
                                  << QStringLiteral("1\u24002\u24093\u241b[0m\u2421");
        QTest::newRow("invalid UTF-8")
            << QByteArray("\xff\xfe 1,5\xc3") << QStringLiteral("\uFFFD\uFFFD 1,5\uFFFD");
        // Qt's finder cuts the emoji in two after a Thai letter.
        QTest::newRow("emoji after Thai at the cut")
            << QByteArray(38, 'a') + "\u0E01\U0001F600x"
            << QString(38, u'a') + QStringLiteral("\u0E01\U0001F600…");
        QTest::newRow("1,000 characters") << QByteArray("ab ").repeated(334).left(1000)
                                          << QStringLiteral("ab ").repeated(14).left(40) + u'…';
    }
    void hostileTextIsQuotedAsPlainText() {
        QFETCH(QByteArray, pasted);
        QFETCH(QString, quote);
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("text/plain"), pasted);
        QApplication::clipboard()->setMimeData(mime);
        QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
        const QString shown = ecran()->text();
        QCOMPARE(shown, QString::fromUtf8(pasted));
        // A screen reader is read whole characters.
        QAccessibleTextInterface* read =
            QAccessible::queryAccessibleInterface(ecran())->textInterface();
        for (int at = 0; at < shown.size(); ++at) {
            int start = 0;
            int end = 0;
            const QString character =
                read->textAtOffset(at, QAccessible::CharBoundary, &start, &end);
            QVERIFY2(!character.front().isLowSurrogate() && !character.back().isHighSurrogate(),
                     qPrintable(QString::number(at)));
        }

        click("euros");
        QMessageBox* box = message();
        QVERIFY(box);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(!(label->textInteractionFlags() & Qt::LinksAccessibleByMouse));
        QVERIFY2(box->text().startsWith(QStringLiteral("«\u00A0\u2068") + quote +
                                        QStringLiteral("\u2069\u00A0» n'est pas un montant")),
                 qPrintable(box->text()));
        QVERIFY(box->width() <= 1024 && box->height() <= 768);
        QCOMPARE(ecran()->text(), shown);
        QCOMPARE(monaie()->textFormat(), Qt::PlainText);
        QCOMPARE(monaie2()->textFormat(), Qt::PlainText);

        box->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!message());
        click("delete_");
        click("sept");
        QCOMPARE(ecran()->text(), QStringLiteral("7"));
    }

    // A cell copied from a spreadsheet: grouped the French way, with a line break after it.
    void pastedAmountsRead() {
        QApplication::clipboard()->setText(QStringLiteral("  1\u202F234.5\n"));
        QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
        click("euros");
        QVERIFY(!message());
        QCOMPARE(ecran()->text(), QStringLiteral("188,198"));
        QCOMPARE(ecran2()->text(), QStringLiteral("  1\u202F234,5\n"));
    }

    // The main display holds as much as its limit: typing stops there, a paste that does
    // not fit is refused whole and says why, and the entry keys are greyed out while it
    // is full, a greyed key handing the focus to the main display.
    void displayAndConverterAgreeAtTheLimit() {
        const int limit = ecran()->maxLength();
        const QString full = QString(limit - 1, u'0') + u'5';
        const auto refused = [this](const QString& pasted, const QString& kept) {
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
            QVERIFY(message() && message()->text().endsWith(QStringLiteral("Rien n'a été collé.")));
            message()->button(QMessageBox::Ok)->click();
            QTRY_VERIFY(!message());
            QCOMPARE(ecran()->text(), kept);
        };
        type(full.chopped(1));
        child("cinq")->setFocus();
        QTest::keyClick(child("cinq"), Qt::Key_Space);
        QCOMPARE(ecran()->text(), full);
        QVERIFY(!child("cinq")->isEnabled() && !child("virgule")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), ecran());
        QTest::keyClicks(ecran(), QStringLiteral("7"));
        ecran()->setCursorPosition(3);
        refused(QStringLiteral("7"), full);
        click("euros");
        QCOMPARE(ecran2()->text(), full);
        QCOMPARE(ecran()->text(), QStringLiteral("0,762"));
        QVERIFY(child("cinq")->isEnabled());
        refused(QString(100000, u'0'), QStringLiteral("0,762"));
        QCOMPARE(monaie()->text(), QStringLiteral("Euros"));
        QAccessibleEditableTextInterface* written =
            QAccessible::queryAccessibleInterface(ecran())->editableTextInterface();
        written->insertText(0, full + u'5'); // as a screen reader writes
        QVERIFY(message() && message()->text().endsWith(QStringLiteral("Rien n'a été saisi.")));
        message()->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!message());

        // A paste that just fits is taken; a keyboard edit that makes room gives the keys back.
        click("delete_");
        QApplication::clipboard()->setText(QString(limit, u'0'));
        QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(!message() && !child("un")->isEnabled());
        QTest::keyClick(ecran(), Qt::Key_Backspace);
        QVERIFY(child("un")->isEnabled());
        click("un");
        click("francs");
        QCOMPARE(ecran2()->text(), QString(limit - 1, u'0') + u'1');
    }

    void iconsAreEmbedded() {
        QList<int> sizes;
        for (const QFileInfo& file : QDir(QStringLiteral(":/korvalin/icons")).entryInfoList()) {
            const QImage icon(file.filePath());
            QCOMPARE(icon.width(), icon.height());
            sizes.append(icon.width());
        }
        QVERIFY2(sizes.contains(32), "no 32 x 32 window icon");
    }

    void offClosesTheWindow() {
        click("un");
        click("euros");
        click("off");
        QVERIFY(!window_->isVisible());
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
