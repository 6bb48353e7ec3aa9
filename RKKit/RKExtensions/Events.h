// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Notification helpers available on every receiver: a std::shared_ptr-held object (nodes) or a
// QObject (widgets). Registrations hold the receiver weakly, so a destroyed receiver is never
// called; stopListening removes them explicitly.

#include "Platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <type_traits>

namespace Events {

namespace detail {

// A selector is a member function taking the notification, or taking nothing.
template <class T, class Selector>
void perform(T& receiver, Selector selector, const Notification& notification)
{
    if constexpr (std::is_invocable_v<Selector, T&, const Notification&>)
        std::invoke(selector, receiver, notification);
    else
        std::invoke(selector, receiver);
}

template <class T, class Selector>
void listen(const std::shared_ptr<T>& receiver, const QString& name, Selector selector, const void* sender)
{
    std::weak_ptr<T> weak = receiver;
    NotificationCenter::defaultCenter().addObserver(
        receiver.get(), [weak] { return !weak.expired(); }, name, sender,
        [weak, selector](const Notification& n) {
            if (auto strong = weak.lock())
                perform(*strong, selector, n);
        });
}

template <class T, class Selector>
void listen(T* receiver, const QString& name, Selector selector, const void* sender)
{
    static_assert(std::is_base_of_v<QObject, T>, "a plain pointer receiver must be a QObject");
    QPointer<T> guard(receiver);
    NotificationCenter::defaultCenter().addObserver(
        static_cast<const void*>(receiver), [guard] { return !guard.isNull(); }, name, sender,
        [guard, selector](const Notification& n) {
            if (guard)
                perform(*guard, selector, n);
        });
}

} // namespace detail

// Registers the receiver for notifications of the name from any sender.
template <class Receiver, class Selector>
void listenForNotificationSelector(const Receiver& receiver, const QString& name, Selector selector)
{
    detail::listen(receiver, name, selector, nullptr);
}

// The same, restricted to notifications posted by the sender.
template <class Receiver, class Selector>
void listenForNotificationSelectorObject(const Receiver& receiver, const QString& name, Selector selector,
                                         const void* sender)
{
    detail::listen(receiver, name, selector, sender);
}

// Removes every registration of the receiver.
void stopListening(const void* receiver);

// Posts, at once and synchronously, a notification of the name with self as its sender.
void postNotificationAboutSelf(const void* self, const QString& name);

// Posts the notification on a later pass of the event loop, not within this call; not at all
// when self has died meanwhile.
template <class T>
void postNotificationAboutSelfLater(const std::shared_ptr<T>& self, const QString& name)
{
    std::weak_ptr<T> weak = self;
    QTimer::singleShot(0, QCoreApplication::instance(), [weak, name] {
        if (auto strong = weak.lock())
            postNotificationAboutSelf(strong.get(), name);
    });
}
void postNotificationAboutSelfLater(QObject* self, const QString& name);

// A repeating timer calling the selector on the receiver every interval (seconds). The event
// loop keeps it alive; it stops and goes away with its receiver. The caller may stop it.
template <class T, class Selector>
QPointer<QTimer> repeatingTimerWithTimeIntervalSelector(const std::shared_ptr<T>& receiver, double seconds,
                                                        Selector selector)
{
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(int(seconds * 1000.0));
    std::weak_ptr<T> weak = receiver;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, weak, selector] {
        auto strong = weak.lock();
        if (!strong) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        detail::perform(*strong, selector, Notification{});
    });
    timer->start();
    return timer;
}

template <class T, class Selector>
QPointer<QTimer> repeatingTimerWithTimeIntervalSelector(T* receiver, double seconds, Selector selector)
{
    static_assert(std::is_base_of_v<QObject, T>, "a plain pointer receiver must be a QObject");
    auto* timer = new QTimer(receiver); // dies with its receiver
    timer->setInterval(int(seconds * 1000.0));
    QObject::connect(timer, &QTimer::timeout, receiver, [receiver, selector] {
        detail::perform(*receiver, selector, Notification{});
    });
    timer->start();
    return timer;
}

} // namespace Events
