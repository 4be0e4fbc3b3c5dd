#include "ui/setup/setup_command.h"

#include "calc/graph_feed.h"
#include "calc/list_appearance.h"
#include "store/app_profile.h"
#include "store/vehicle_registry.h"
#include "ui/setup/choose_font_page.h"
#include "ui/setup/locate_folders_dlg.h"
#include "ui/setup/setup_page1.h"
#include "ui/setup/setup_page2.h"
#include "ui/setup/setup_page3.h"
#include "ui/setup/setup_page4.h"
#include "ui/setup/setup_sheet.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"
#include "ui/toolkit/qt_text.h"

bool CSetupCommand::run(const std::vector<std::string>& selectorEntries, std::time_t today) {
    CSetupSheet sheet(m_parent);
    auto* fontPage = new CChooseFontPage(m_context);
    sheet.addPage(fontPage);
    auto* folders = new CSetupPage1(m_context);
    folders->setFolderSearch([this, folders]() -> std::optional<std::string> {
        CLocateFoldersDlg dialog(m_context.backupFolder, m_context.configFolder, {}, folders);
        if (CModalRunner::run(dialog) != QDialog::Accepted)
            return std::nullopt;
        return dialog.chosenFolder();
    });
    sheet.addPage(folders);
    sheet.addPage(new CSetupPage2(m_context));
    sheet.addPage(new CSetupPage3(m_context));
    sheet.addPage(new CSetupPage4(m_context));
    const bool ok = CModalRunner::run(sheet) == QDialog::Accepted;

    if (ok) {
        m_context.list.font = fontPage->chosenFont();
        if (!m_context.list.write(m_context.profile))
            warnProfile("The list font");
    }
    if (!m_context.graph.write(m_context.profile))
        warnProfile("The graph settings");
    if (m_context.graphChanged)
        m_context.graphChanged();

    // Without a vehicle there is no section to write.
    if (!m_context.foldersChanged && !m_context.vehicle.name.empty()) {
        CVehicleRegistry registry(m_context.configFolder);
        if (!registry.saveVehicle(m_context.vehicle, selectorEntries, today))
            CMessageBox::warn(
                m_parent, QObject::tr("The settings of the vehicle %1 could not be saved to\n%2\n(%3).\n"
                                      "Check that the folder can be written, then run Setup again.")
                              .arg(toQt(m_context.vehicle.name), toQt(registry.path()), toQt(registry.lastError())));
    }
    return ok;
}

void CSetupCommand::warnProfile(const char* what) const {
    CMessageBox::warn(m_parent, QObject::tr("%1 could not be saved to\n%2\n(%3).")
                                    .arg(QString::fromLatin1(what), toQt(m_context.profile.file()),
                                         toQt(m_context.profile.lastError())));
}
