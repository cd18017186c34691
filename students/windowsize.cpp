#include "windowsize.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QSize Fit_Size(const QWidget* window, QSize designSize)
{
    const QSize size = designSize.expandedTo(window->sizeHint()).expandedTo(window->minimumSizeHint());
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return size;
    // The title bar and the frame come on top of the window's own size.
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    return size.boundedTo(screen->availableGeometry().size() - frame);
}
