// The Linux entry of the viewer: starts Qt, hands the arguments over as the
// Windows runtime would, and runs WinMain.
#include "app/main_window.h"
#include "app/program_options.h"

#include <QApplication>
#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace {

QByteArray firstStartupWarning;

// While Qt starts, its warnings are kept, not shown; a fatal message ends the
// process with one line: the first warning, which names the cause (such as
// the display that could not be reached), or else the fatal message's first line.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        if (firstStartupWarning.isEmpty()) firstStartupWarning = message.toLocal8Bit();
        return;
    }
    const QByteArray reason =
        firstStartupWarning.isEmpty() ? message.section('\n', 0, 0).toLocal8Bit() : firstStartupWarning;
    std::fprintf(stderr, "kelvorn: cannot open a window: %s\n", reason.constData());
    std::_Exit(EXIT_FAILURE);
}

bool HasDisplay() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    // Help and the version are answered before Qt starts, so they need no
    // display.
    if (const ProgramArguments arguments = ReadProgramArguments(argc, argv);
        !arguments.answer.empty() && !arguments.refused)
        return AnswerProgramArguments(arguments);
    if (!HasDisplay()) {
        std::fprintf(stderr, "kelvorn: no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
        return EXIT_FAILURE;
    }
    qInstallMessageHandler(StartupMessageHandler);
    QApplication application(argc, argv); // takes its own options (-platform ...) out of argv
    qInstallMessageHandler(nullptr);
    // Unknown options are refused once Qt has taken its own (-platform ...)
    // out of argv, still before any window.
    if (const ProgramArguments arguments = ReadProgramArguments(argc, argv); arguments.refused)
        return AnswerProgramArguments(arguments);
    application.setQuitOnLastWindowClosed(false); // the message loop decides when to stop
    __argc = argc;
    __argv = argv;
    static char commandLine[] = "";
    return WinMain(GetModuleHandle(nullptr), nullptr, commandLine, SW_SHOW);
}
