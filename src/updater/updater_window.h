#pragma once
// The updater's window in the skin's look: the versions, what happens, a
// progress bar with the step in words, "Update" (the default button: Enter
// presses it) and "Close". It cannot be closed while an update runs.

#include "updater/update_session.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace talwyn::updater {

inline constexpr char kUpdaterTitle[] = "Talwyn PRO firmware updater";

class UpdaterWindow final : public QDialog {
    Q_OBJECT
public:
    explicit UpdaterWindow(UpdateSession& session, QWidget* parent = nullptr);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    UpdateSession& session_;
    QLabel* headline_ = nullptr;
    QLabel* installed_ = nullptr;
    QLabel* offered_ = nullptr;
    QLabel* detail_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* step_ = nullptr;
    QPushButton* update_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace talwyn::updater
