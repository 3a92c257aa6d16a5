#pragma once

// UNO helpers. Only this backend's sources include UNO headers.

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

#include <QString>
#include <QVariant>

#include <initializer_list>
#include <vector>

namespace css = ::com::sun::star;

namespace vexlo::office::lo {

inline rtl::OUString toOU(const QString& s) {
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()), sal_Int32(s.size()));
}

inline QString fromOU(const rtl::OUString& s) {
    return QString(reinterpret_cast<const QChar*>(s.getStr()), s.getLength());
}

inline css::beans::PropertyValue prop(const char* name, const css::uno::Any& value) {
    css::beans::PropertyValue p;
    p.Name = rtl::OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

template <class T>
css::uno::Sequence<T> sequence(const std::vector<T>& items) {
    return css::uno::Sequence<T>(items.data(), sal_Int32(items.size()));
}

inline css::uno::Sequence<css::beans::PropertyValue> props(std::initializer_list<css::beans::PropertyValue> list) {
    return sequence(std::vector<css::beans::PropertyValue>(list));
}

// file:///… URL of a local path, percent-encoded UTF-8 as the office expects.
rtl::OUString fileUrl(const QString& path);

// The in-process UNO context that talks to the offices; bootstrapped once from the
// office's own fundamentalrc, so no environment variable is needed. Null on failure.
css::uno::Reference<css::uno::XComponentContext> localContext(const QString& programDir);

// A cell value from a data array: double, non-empty text, or empty.
QVariant fromCellAny(const css::uno::Any& any);

} // namespace vexlo::office::lo
