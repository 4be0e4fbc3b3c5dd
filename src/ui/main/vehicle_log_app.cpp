#include "ui/main/vehicle_log_app.h"

#include "store/activity_log.h"
#include "store/app_folders.h"
#include "store/app_profile.h"
#include "ui/entry/entry_dialogs.h"
#include "ui/main/vehicle_log_dlg.h"
#include "ui/toolkit/file_dialog.h"
#include "ui/toolkit/menu_look.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

void initOdrivoResources() {
    // The icons are compiled into the static window library; a static library's
    // resources must be registered by name.
    Q_INIT_RESOURCE(odrivo);
    Q_INIT_RESOURCE(window);
    Q_INIT_RESOURCE(entrydlg);
    Q_INIT_RESOURCE(editlist);
    Q_INIT_RESOURCE(fuel);
    Q_INIT_RESOURCE(reminders);
    Q_INIT_RESOURCE(backup);
}

CVehicleLogApp::CVehicleLogApp(int& argc, char** argv) : m_app(std::make_unique<QApplication>(argc, argv)) {
    initOdrivoResources();
    // Qt adopts the user's locale for everything; numbers in files and cells keep the '.' point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Odrivo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Odrivo"));
    QApplication::setApplicationVersion(QStringLiteral(ODRIVO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.odrivo.Odrivo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/odrivo.svg")));
    m_profile = std::make_unique<CAppProfile>(CAppFolders::profilePath());
    CFileDialog::setProfile(m_profile.get());
    m_log = std::make_unique<CActivityLog>(CAppFolders::logPath(), CAppFolders::archivePath());
    CMenuLook::set(m_profile->getNumber(ProfileKeys::MenuStyle), m_profile->getNumber(ProfileKeys::MenuSelection),
                   m_profile->getNumber(ProfileKeys::MenuGloom));
}

CVehicleLogApp::~CVehicleLogApp() {
    CFileDialog::setProfile(nullptr);
}

int CVehicleLogApp::run(const std::string& file) {
    CVehicleLogDlg window(*m_profile, *m_log);
    const CEntryDialogs entryDialogs(window);
    window.initialize();
    window.showPlaced();
    if (!file.empty())
        window.openDataFile(file);
    return QApplication::exec();
}
