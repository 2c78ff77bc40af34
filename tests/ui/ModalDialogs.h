#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <type_traits>

namespace swr::test {

// Runs action on the next modal dialog of type D as soon as it is shown, from the event
// loop of the exec() that shows it. With close_after, a dialog the action left open is
// closed with Cancel.
template <class D = QDialog>
void On_Next_Modal(std::type_identity_t<std::function<void(D*)>> action, bool close_after = false)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action, close_after] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(d);
            if (close_after && d->isVisible())
                d->reject();
        }
    });
    timer->start();
}

} // namespace swr::test
