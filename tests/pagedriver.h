#pragma once
// Drives the workspace page as its form does: the slot a button, a row button or a double click
// reaches, called by name as the form's connections call it.

#include <QMetaObject>
#include <QObject>
#include <QtGlobal>

#include <memory>

namespace pagedriver {

inline void check(bool invoked, const char* slot) {
    if (!invoked)
        qFatal("the page has no slot %s", slot);
}

inline void call(QObject* page, const char* slot) {
    check(QMetaObject::invokeMethod(page, slot, Qt::DirectConnection), slot);
}
inline void call(QObject* page, const char* slot, int row) {
    check(QMetaObject::invokeMethod(page, slot, Qt::DirectConnection, Q_ARG(int, row)), slot);
}
inline void call(QObject* page, const char* slot, int row, int column) {
    check(QMetaObject::invokeMethod(page, slot, Qt::DirectConnection, Q_ARG(int, row),
                                    Q_ARG(int, column)),
          slot);
}
inline int callInt(QObject* page, const char* slot) {
    int result = 0;
    check(QMetaObject::invokeMethod(page, slot, Qt::DirectConnection, Q_RETURN_ARG(int, result)),
          slot);
    return result;
}
inline bool callBool(QObject* page, const char* slot) {
    bool result = false;
    check(QMetaObject::invokeMethod(page, slot, Qt::DirectConnection, Q_RETURN_ARG(bool, result)),
          slot);
    return result;
}

// The same for a page held by a smart pointer.
template <typename P, typename... A> void call(const std::unique_ptr<P>& page, A... args) {
    call(page.get(), args...);
}
template <typename P> int callInt(const std::unique_ptr<P>& page, const char* slot) {
    return callInt(page.get(), slot);
}
template <typename P> bool callBool(const std::unique_ptr<P>& page, const char* slot) {
    return callBool(page.get(), slot);
}

} // namespace pagedriver
