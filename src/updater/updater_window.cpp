#include "updater/updater_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace talwyn::updater {

namespace {

// The skin's palette: dark charcoal, mint accent, light grey text.
const QColor kCharcoalTop(0x2A, 0x2C, 0x30);
const QColor kCharcoalBottom(0x1B, 0x1C, 0x1F);
const QColor kMint(0x32, 0xEB, 0xA5);
constexpr int kTitleBand = 44;

constexpr char kStyle[] = R"(
QLabel { color: #D2D2D2; font-family: "Liberation Sans", Arial, sans-serif; font-size: 13px; }
QLabel#headline { color: #FFFFFF; font-size: 16px; font-weight: bold; }
QLabel#step { color: #32EBA5; }
QPushButton { color: #D2D2D2; background: #34363B; border: 1px solid #4A4D53; border-radius: 3px;
              padding: 6px 22px; font-family: "Liberation Sans", Arial, sans-serif; font-size: 13px; }
QPushButton:hover { border-color: #32EBA5; }
QPushButton:default { border-color: #32EBA5; }
QPushButton:pressed { background: #32EBA5; color: #1B1C1F; }
QPushButton:disabled { color: #6A6D73; border-color: #3A3C41; }
QProgressBar { background: #121315; border: 1px solid #4A4D53; border-radius: 3px; height: 14px;
               color: #D2D2D2; text-align: center; font-size: 11px; }
QProgressBar::chunk { background: #32EBA5; border-radius: 2px; }
)";

QLabel* makeLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

} // namespace

UpdaterWindow::UpdaterWindow(UpdateSession& session, QWidget* parent) : QDialog(parent), session_(session) {
    setWindowTitle(QString::fromLatin1(kUpdaterTitle));
    setStyleSheet(QString::fromLatin1(kStyle));
    setFixedSize(520, 330);

    headline_ = makeLabel("headline", this);
    installed_ = makeLabel("installed", this);
    offered_ = makeLabel("offered", this);
    detail_ = makeLabel("detail", this);
    step_ = makeLabel("step", this);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 100);

    update_ = new QPushButton(QStringLiteral("Update"), this);
    update_->setObjectName(QStringLiteral("update"));
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setObjectName(QStringLiteral("close"));
    // Enter always means "Update", wherever the focus is.
    update_->setDefault(true);
    close_->setAutoDefault(false);
    connect(update_, &QPushButton::clicked, &session_, &UpdateSession::update);
    connect(close_, &QPushButton::clicked, this, &UpdaterWindow::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(update_);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, kTitleBand + 16, 24, 18);
    layout->setSpacing(8);
    layout->addWidget(headline_);
    layout->addWidget(installed_);
    layout->addWidget(offered_);
    layout->addWidget(detail_, 1, Qt::AlignTop);
    layout->addWidget(progress_);
    layout->addWidget(step_);
    layout->addLayout(buttons);

    connect(&session_, &UpdateSession::changed, this, &UpdaterWindow::refresh);
    refresh();
    update_->setFocus();
}

void UpdaterWindow::refresh() {
    headline_->setText(session_.headline());
    installed_->setText(QStringLiteral("Installed firmware: %1").arg(session_.installedText()));
    offered_->setText(QStringLiteral("Firmware of this update: %1").arg(session_.offeredText()));
    detail_->setText(session_.detail());
    progress_->setValue(session_.percent());
    step_->setText(session_.stepText());
    update_->setEnabled(session_.canUpdate());
    close_->setEnabled(session_.canClose());
    if (update_->isEnabled())
        update_->setFocus();
}

void UpdaterWindow::reject() {
    // Escape, "Close" and the window manager's close all end here.
    if (session_.canClose())
        QDialog::reject();
}

void UpdaterWindow::closeEvent(QCloseEvent* event) {
    if (session_.canClose())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void UpdaterWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, kCharcoalTop);
    background.setColorAt(1, kCharcoalBottom);
    painter.fillRect(rect(), background);

    painter.fillRect(QRect(0, 0, width(), kTitleBand), kCharcoalBottom);
    painter.fillRect(QRect(0, kTitleBand - 2, width(), 2), kMint);
    // A small mouse outline as the updater's mark.
    painter.setPen(QPen(kMint, 2));
    painter.drawRoundedRect(QRectF(18, 9, 16, 24), 8, 8);
    painter.drawLine(QPointF(26, 10), QPointF(26, 18));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0xD2, 0xD2, 0xD2));
    painter.drawText(QRect(46, 0, width() - 56, kTitleBand - 2), Qt::AlignVCenter | Qt::AlignLeft,
                     QString::fromLatin1(kUpdaterTitle));
}

} // namespace talwyn::updater
