// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* kHelp = R"(Usage : la-korvalin [OPTION]
Ouvre le convertisseur entre francs et euros, une fenêtre. Pour convertir depuis un
terminal ou un script, voyez korvalin(1).

  -h, --help     affiche cette aide et termine
  -v, --version  affiche la version et termine

Les options de Qt (-platform, -style…) sont acceptées aussi.
)";

constexpr const char* kNoDisplay =
    "la-korvalin : aucun écran où ouvrir la fenêtre (ni DISPLAY ni WAYLAND_DISPLAY) ; "
    "pour convertir sans fenêtre, voyez korvalin(1).\n";

constexpr const char* kDisplayUnreachable =
    "la-korvalin : la fenêtre ne peut pas s'ouvrir sur cet écran (voyez le message de Qt "
    "ci-dessus) ; pour convertir sans fenêtre, voyez korvalin(1).\n";

QtMessageHandler qtHandler = nullptr;

void endOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(kDisplayUnreachable, stderr);
        std::_Exit(1);
    }
    qtHandler(type, context, message);
}

} // namespace

std::optional<int> answerBeforeWindow(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOptions({help, version});
    // Qt's own options are unknown here: QApplication takes them out later.
    parser.parse(arguments);
    if (parser.isSet(help)) {
        std::fputs(kHelp, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (parser.isSet(version)) {
        std::printf("la-korvalin %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !arguments.contains(u"-platform")) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
#endif
    return std::nullopt;
}

void endCleanlyWithoutDisplay(bool on) {
    if (on) {
        qtHandler = qInstallMessageHandler(endOnFatal);
    } else {
        qInstallMessageHandler(qtHandler);
    }
}
