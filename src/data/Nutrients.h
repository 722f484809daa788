#pragma once
// The eight nutrient values of a food serving or a diet entry. A value may be null (a food that
// has no figure for it); a null stays null when scaled and counts as nothing in a sum.
#include <QString>
#include <QVariant>
#include <array>
#include <optional>

class Recordset;

class Nutrients {
public:
    // The column names in the order the values are kept.
    static constexpr int Count = 8;
    static const std::array<QString, Count>& columns();

    // Reads the eight columns of rs's current row; `prefix` goes before each column name (a day's
    // sums carry a "t" in front).
    static Nutrients read(const Recordset& rs, const QString& prefix = QString());
    // Writes the eight columns of the row rs is editing or adding.
    void write(Recordset& rs) const;

    Nutrients scaled(double factor) const;
    Nutrients& operator+=(const Nutrients& other);
    // False when any value is infinite or not a number: such values are never written.
    bool isFinite() const;

    QVariant value(const QString& column) const;
    QVariant value(int index) const;
    void set(int index, const QVariant& value);
    friend bool operator==(const Nutrients&, const Nutrients&) = default;

private:
    std::array<std::optional<double>, Count> values_;
};
