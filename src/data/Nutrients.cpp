#include "Nutrients.h"

#include "Recordset.h"

#include <cmath>

const std::array<QString, Nutrients::Count>& Nutrients::columns() {
    static const std::array<QString, Count> names = {
        QStringLiteral("Fat"),     QStringLiteral("Protein"), QStringLiteral("Carbohydrate"),
        QStringLiteral("Calorie"), QStringLiteral("Sodium"),  QStringLiteral("Cholesterol"),
        QStringLiteral("Other1"),  QStringLiteral("Other2")};
    return names;
}

Nutrients Nutrients::read(const Recordset& rs, const QString& prefix) {
    Nutrients n;
    for (int i = 0; i < Count; ++i)
        n.set(i, rs.Fields(prefix + columns()[i]));
    return n;
}

void Nutrients::write(Recordset& rs) const {
    for (int i = 0; i < Count; ++i)
        rs.setField(columns()[i], value(i));
}

Nutrients Nutrients::scaled(double factor) const {
    Nutrients n = *this;
    for (auto& v : n.values_)
        if (v)
            *v *= factor;
    return n;
}

Nutrients& Nutrients::operator+=(const Nutrients& other) {
    for (int i = 0; i < Count; ++i)
        if (other.values_[i])
            values_[i] = values_[i].value_or(0.0) + *other.values_[i];
    return *this;
}

bool Nutrients::isFinite() const {
    for (const auto& v : values_)
        if (v && !std::isfinite(*v))
            return false;
    return true;
}

QVariant Nutrients::value(int index) const {
    const auto& v = values_.at(index);
    return v ? QVariant(*v) : QVariant();
}

QVariant Nutrients::value(const QString& column) const {
    for (int i = 0; i < Count; ++i)
        if (columns()[i].compare(column, Qt::CaseInsensitive) == 0)
            return value(i);
    return {};
}

void Nutrients::set(int index, const QVariant& value) {
    bool ok = false;
    const double v = value.isNull() ? 0.0 : value.toDouble(&ok);
    values_.at(index) = ok ? std::optional<double>(v) : std::nullopt;
}
