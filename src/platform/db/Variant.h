#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <variant>

// A value read from the data store: Null, Boolean, integer, double, text or date.
//
// Conversions follow the original runtime: reading a Null as a number, Boolean or date raises
// 94 "Invalid use of Null" (test IsNull first); a text that does not read as the wanted type
// raises 13 "Type mismatch". ToString gives "" for Null, "True"/"False" for Booleans and
// "yyyy-MM-dd" for dates; integral doubles print without a decimal point.
class Variant {
public:
    enum class Type { Null, Boolean, Integer, Double, Text, Date };

    Variant() = default;
    explicit Variant(bool value)
        : value_(value) {}
    explicit Variant(qint64 value)
        : value_(value) {}
    explicit Variant(int value)
        : value_(static_cast<qint64>(value)) {}
    explicit Variant(double value)
        : value_(value) {}
    explicit Variant(QString value)
        : value_(std::move(value)) {}
    // Without this a literal would pick the bool constructor.
    explicit Variant(const char* value)
        : value_(QString::fromUtf8(value)) {}
    explicit Variant(QDate value)
        : value_(value) {}

    Type GetType() const { return static_cast<Type>(value_.index()); }
    bool IsNull() const { return GetType() == Type::Null; }

    QVariant ToQVariant() const;
    QString ToString() const&;
    // A value about to go gives its text up rather than share it.
    QString ToString() &&;
    double ToDouble() const;
    // Doubles are rounded to the nearest integer, halves to even.
    qint64 ToInteger() const;
    bool ToBool() const;
    QDate ToDate() const;
    // False for Null; otherwise this value as text compared exactly, letter case included.
    bool EqualsText(const QString& text) const;

    bool operator==(const Variant& other) const = default;

private:
    std::variant<std::monostate, bool, qint64, double, QString, QDate> value_;
};
