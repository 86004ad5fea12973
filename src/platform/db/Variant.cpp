#include "platform/db/Variant.h"

#include "platform/RuntimeError.h"

#include <QLocale>
#include <cmath>
#include <limits>
#include <utility>

namespace {

RuntimeError InvalidUseOfNull() {
    return {94, QStringLiteral("Invalid use of Null")};
}

QString DoubleText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

double TextToDouble(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        throw RuntimeError::TypeMismatch();
    return value;
}

qint64 RoundToInteger(double value) {
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) ||
        rounded < static_cast<double>(std::numeric_limits<qint64>::min()) ||
        rounded >= static_cast<double>(std::numeric_limits<qint64>::max()))
        throw RuntimeError::Overflow();
    return static_cast<qint64>(rounded);
}

} // namespace

QVariant Variant::ToQVariant() const {
    switch (GetType()) {
    case Type::Null:
        return {};
    case Type::Boolean:
        return QVariant(std::get<bool>(value_));
    case Type::Integer:
        return QVariant(std::get<qint64>(value_));
    case Type::Double:
        return QVariant(std::get<double>(value_));
    case Type::Text:
        return QVariant(std::get<QString>(value_));
    case Type::Date:
        return QVariant(std::get<QDate>(value_));
    }
    return {};
}

QString Variant::ToString() && {
    if (GetType() == Type::Text)
        return std::move(std::get<QString>(value_));
    return std::as_const(*this).ToString();
}

QString Variant::ToString() const& {
    switch (GetType()) {
    case Type::Null:
        return {};
    case Type::Boolean:
        return std::get<bool>(value_) ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Integer:
        return QString::number(std::get<qint64>(value_));
    case Type::Double:
        return DoubleText(std::get<double>(value_));
    case Type::Text:
        return std::get<QString>(value_);
    case Type::Date:
        return std::get<QDate>(value_).toString(Qt::ISODate);
    }
    return {};
}

double Variant::ToDouble() const {
    switch (GetType()) {
    case Type::Null:
        throw InvalidUseOfNull();
    case Type::Boolean:
        // The original runtime's True is -1.
        return std::get<bool>(value_) ? -1.0 : 0.0;
    case Type::Integer:
        return static_cast<double>(std::get<qint64>(value_));
    case Type::Double:
        return std::get<double>(value_);
    case Type::Text:
        return TextToDouble(std::get<QString>(value_));
    case Type::Date:
        break;
    }
    throw RuntimeError::TypeMismatch();
}

qint64 Variant::ToInteger() const {
    switch (GetType()) {
    case Type::Integer:
        return std::get<qint64>(value_);
    case Type::Boolean:
        return std::get<bool>(value_) ? -1 : 0;
    default:
        return RoundToInteger(ToDouble());
    }
}

bool Variant::ToBool() const {
    switch (GetType()) {
    case Type::Null:
        throw InvalidUseOfNull();
    case Type::Boolean:
        return std::get<bool>(value_);
    case Type::Integer:
        return std::get<qint64>(value_) != 0;
    case Type::Double:
        return std::get<double>(value_) != 0.0;
    case Type::Text: {
        const QString text = std::get<QString>(value_).trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        return TextToDouble(text) != 0.0;
    }
    case Type::Date:
        break;
    }
    throw RuntimeError::TypeMismatch();
}

QDate Variant::ToDate() const {
    switch (GetType()) {
    case Type::Null:
        throw InvalidUseOfNull();
    case Type::Date:
        return std::get<QDate>(value_);
    case Type::Text: {
        const QString& text = std::get<QString>(value_);
        for (const QDate date :
             {QDate::fromString(text, Qt::ISODate),
              QLocale().toDate(text, QStringLiteral("dd MMM yyyy")),
              QLocale(QLocale::English).toDate(text, QStringLiteral("dd MMM yyyy"))})
            if (date.isValid())
                return date;
        break;
    }
    default:
        break;
    }
    throw RuntimeError::TypeMismatch();
}

bool Variant::EqualsText(const QString& text) const {
    return !IsNull() && ToString() == text;
}
