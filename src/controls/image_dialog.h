#pragma once
// The skinned dialog every page, pop-up and the main window derive from: an
// owned background image painted off-screen, the command channel of its child
// controls, and modal runs that end with 1 (OK) or 2 (cancel/close).

#include "controls/framework.h"

#include <QDialog>
#include <QImage>

#include <functional>

namespace talwyn::controls {

class CVexImageDialog : public QDialog, public CommandReceiver, public ControlIdentity {
    Q_OBJECT
public:
    explicit CVexImageDialog(QWidget* parent = nullptr);

    // Keeps `image` and sizes the window to it, keeping its left and top edges.
    void SetBackground(const QImage& image);
    // For a window built hidden: sized now, its background made by `make`
    // when the window is first shown, so windows nobody opens cost nothing.
    void SetBackgroundOnShow(QSize size, std::function<QImage()> make);
    const QImage& background() const { return background_; }

    ModalResult runModal();
    void endModal(ModalResult result);

    // Commands of the child controls; the base ignores them.
    void onCommand(ControlId first, CommandValue second) override;

    // Closing the window or pressing Escape ends a modal run with 2.
    void reject() override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void makeBackground();

    QImage background_;
    std::function<QImage()> makeBackground_;
};

} // namespace talwyn::controls
