// Program start: the command line, the application object, the main window, then the
// message loop until the main window is closed.
#include "platform/Clock.h"
#include "platform/app/FontConfigWarmUp.h"
#include "platform/app/NoDisplayExit.h"
#include "platform/app/QtApplication.h"
#include "platform/app/QtTranslations.h"
#include "platform/app/TerminationSignals.h"
#include "platform/desktop/ExpectedFrame.h"
#include "platform/desktop/QtCursor.h"
#include "platform/desktop/X11WindowFill.h"
#include "platform/sound/ModuleSoundPlayer.h"
#include "platform/window/QtDrawAreaWidget.h"
#include "ui/CommandLine.h"
#include "ui/Form1.h"
#include "ui/FreshDialogClicks.h"
#include "ui/InfoDlg.h"
#include "ui/MainMenu.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QAction>
#include <QTimer>
#include <QTranslator>

namespace {
// Qt's X11 client calls exit() when the connection to the X server breaks (the server
// ended or crashed): no close, no return from the message loop. Objects of the exiting
// thread's own storage end before any static object and any exit handler: an exit
// handler would run after whatever static Qt made later than its registration was
// gone (Qt makes its Gregorian calendar on the first date it formats, and without it
// the statistics' row has no start time).
struct TWindowSavedAtExit {
    fenu::TForm1* Window = nullptr; ///< the main window while it is there
    ~TWindowSavedAtExit() {
        if (Window != nullptr)
            Window->SaveAtExit();
    }
};
thread_local TWindowSavedAtExit windowSavedAtExit;
} // namespace

int main(int argc, char** argv) {
    // Before the application object, which connects to the display: --help and
    // --version answer without one.
    const fenu::TCommandLine commandLine = fenu::ReadCommandLine(argc, argv);
    if (commandLine.Exit)
        return *commandLine.Exit;
    fenu::FontConfigWarmUp fontConfig;
    auto noDisplayExit = std::make_unique<fenu::NoDisplayExit>();
    fenu::QtApplication app(argc, argv);
    noDisplayExit.reset();
    // Before the first window: Qt's dialogs and buttons speak German from the start.
    QTranslator qtTranslations;
    fenu::InstallQtTranslations(qtTranslations);
    fenu::QtApplication::setApplicationName(QStringLiteral("feNU"));
    fenu::QtApplication::setApplicationDisplayName(QString());
    // Wayland docks and task switchers find the name and icon through the desktop
    // file of this id.
    fenu::QtApplication::setDesktopFileName(QStringLiteral("org.example.fenu"));

    fontConfig.Wait(); // the form's first font is next
    fenu::SystemClock clock;
    fenu::QtCursor cursor;
    fenu::TModuleSoundPlayer sounds;
    fenu::X11WindowFill windowFill(fenu::X11WindowFill::ApplicationConnection());
    fenu::TForm1 form1({app, clock, clock, cursor, &sounds, QString()});
    const fenu::TFreshDialogClicks freshDialogClicks;
    cursor.SetArea(&form1.DrawAreaWidget());
    form1.DrawAreaWidget().SetWindowFill(&windowFill);

    // SIGTERM, SIGINT, SIGHUP and the end of the desktop session close the window
    // the orderly way, so the records of the run are saved. The session's request for
    // its data comes before a logout that may yet be cancelled: it saves, and the
    // game goes on.
    fenu::TerminationSignals termination([&form1] { form1.CloseOnRequest(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form1,
                     [&form1] { form1.SaveOnRequest(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &form1,
                     [&form1] { form1.DestroyOnQuit(); });

    // The window shows once the window manager has said which frame it will draw
    // around it (the answer comes through the event loop), so it appears centred.
    form1.winId();
    // fenu FILE.fenurun: the window opens and plays the run of that file.
    // fenu --race FILE.fenurun: a race against it.
    const QString runFile = commandLine.RunFile;
    const bool race = commandLine.Race;
    fenu::RequestExpectedFrame(
        *form1.windowHandle(), &form1, [&form1, runFile, race](QMargins frame) {
            form1.ShowCentred(frame);
            if (!runFile.isEmpty())
                QTimer::singleShot(0, &form1,
                                   [&form1, runFile, race] { form1.OpenRunFile(runFile, race); });
        });
    // What the first frames do not need comes after them, so it never delays them:
    // the windows' icon (decoding it and handing it to the window system took a
    // tenth of the start), and the sound module with its sounds, only while sounds
    // are on: a player who keeps them off never pays for the multimedia libraries. A
    // sound played before that loads them once its frame is shown.
    QTimer::singleShot(std::chrono::milliseconds(500), &form1, [&form1, &sounds] {
        fenu::QtApplication::setWindowIcon(fenu::ProgramIcon());
        const auto preloadWhileOn = [&form1, &sounds] {
            if (form1.SoundsChecked())
                sounds.Preload();
        };
        preloadWhileOn();
        QObject::connect(form1.Menu().MenuItem_Sounds, &QAction::toggled, &form1, preloadWhileOn);
    });
    windowSavedAtExit.Window = &form1;
    const int status = fenu::QtApplication::exec();
    windowSavedAtExit.Window = nullptr;
    // Everything worth keeping is saved by now. Qt 6.4's Wayland client can hang or
    // abort while it tears its connection down (a read it handed to its event thread,
    // which it stops first, is never done), so there the program ends without that;
    // the compositor drops the window and the pointer's confinement with the client.
    if (fenu::QtApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
