#pragma once
// The program's window: the menu bar of commands and the activity pane where
// every operation reports.

#include "logweave/session.h"
#include "platform/platform.h"
#include "shell/qt_user_interface.h"

#include <QMainWindow>

#include <optional>

class QAction;
class QPlainTextEdit;

namespace logweave::shell {

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(LogStore& store, FileSystem& files, platform::Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs before the window is first shown; may run the WSJT-X update unattended.
    void Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void Mnu_Quitter_Click();
    void Mnu_Ouvrir_Click();
    void Mnu_Ajouter_Click();
    void Mnu_WSJTX_Click();
    void Mnu_Filtre_Click();
    void Mnu_Aide_Click();
    QString chooseLog(const QString& startFolder);

    LogStore& store_;
    platform::Platform& platform_;
    QPlainTextEdit* Text1{};
    std::optional<QtUserInterface> ui_;
    std::optional<Session> session_;
    QString fileDialogFolder_;

    QAction* Mnu_Quitter{};
    QAction* Mnu_Ouvrir{};
    QAction* Mnu_Ajouter{};
    QAction* Mnu_WSJTX{};
    QAction* Mnu_Filtre{};
    QAction* Mnu_Dummy{};
    QAction* Mnu_Aide{};
};

}  // namespace logweave::shell
