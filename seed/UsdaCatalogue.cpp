#include "UsdaCatalogue.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace seed {
namespace {

using Rows = std::vector<QStringList>;

// Reads a tab-separated file, skipping '#' comment lines and empty lines; every row must have
// the given number of fields.
bool readTsv(const QString& path, qsizetype fields, Rows* rows, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"Cannot read %1: %2"_s.arg(path, file.errorString());
        return false;
    }
    const QString text = QString::fromUtf8(file.readAll());
    qsizetype lineNo = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNo;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList row;
        for (QStringView field : line.split(u'\t'))
            row.append(field.toString());
        if (row.size() != fields) {
            *error = u"%1, line %2: %3 fields instead of %4"_s.arg(path)
                         .arg(lineNo)
                         .arg(row.size())
                         .arg(fields);
            return false;
        }
        rows->push_back(std::move(row));
    }
    return true;
}

bool toInt(const QString& text, int* value) {
    bool ok = false;
    *value = text.toInt(&ok, 10);
    return ok;
}

bool parseFood(const QStringList& row, UsdaFood* food) {
    if (!toInt(row[0], &food->ndb))
        return false;
    food->name = row[1];
    for (std::size_t i = 0; i < food->per100g.size(); ++i) {
        const QString& field = row[qsizetype(i) + 2];
        if (field.isEmpty())
            continue;
        bool ok = false;
        food->per100g[i] = field.toDouble(&ok);
        if (!ok)
            return false;
    }
    return true;
}

// The group of a food release 28 does not list follows from its number: 23xxx and 27xxx went to
// Beef Products and Soups, Sauces, and Gravies; for the others the first two digits are those
// of the group code.
int groupFromNumber(int ndb, const QSet<int>& codes) {
    const int prefix = ndb / 1000;
    if (prefix == 23)
        return 1300;
    if (prefix == 27)
        return 600;
    return codes.contains(prefix * 100) ? prefix * 100 : 0;
}

bool readGroups(const QString& dir, UsdaCatalogue* out, QHash<int, int>* groupOfNdb,
                QString* error) {
    Rows rows;
    if (!readTsv(dir + u"/food-groups.tsv"_s, 2, &rows, error))
        return false;
    for (const QStringList& row : rows) {
        UsdaGroup group{0, row[1]};
        if (!toInt(row[0], &group.code)) {
            *error = u"Bad group code %1"_s.arg(row[0]);
            return false;
        }
        out->groups.push_back(group);
    }
    // Hand-placed foods come second: release 28 does not list them.
    for (const QString& name : {u"food-group-of-ndb.tsv"_s, u"food-group-extra.tsv"_s}) {
        rows.clear();
        if (!readTsv(dir + u'/' + name, 2, &rows, error))
            return false;
        for (const QStringList& row : rows) {
            int ndb = 0;
            int code = 0;
            if (!toInt(row[0], &ndb) || !toInt(row[1], &code)) {
                *error = u"%1: bad row %2"_s.arg(name, row.join(u' '));
                return false;
            }
            groupOfNdb->insert(ndb, code);
        }
    }
    return true;
}

bool readFoods(const QString& dir, const std::vector<int>& onlyFoods, UsdaCatalogue* out,
               QString* error) {
    const QSet<int> wanted(onlyFoods.begin(), onlyFoods.end());
    Rows rows;
    if (!readTsv(dir + u"/foods.tsv"_s, 10, &rows, error))
        return false;
    for (const QStringList& row : rows) {
        UsdaFood food;
        if (!parseFood(row, &food)) {
            *error = u"foods.tsv: bad row %1"_s.arg(row.join(u' '));
            return false;
        }
        if (wanted.isEmpty() || wanted.contains(food.ndb))
            out->foods.push_back(std::move(food));
    }
    std::sort(out->foods.begin(), out->foods.end(),
              [](const UsdaFood& a, const UsdaFood& b) { return a.ndb < b.ndb; });
    if (!wanted.isEmpty() && out->foods.size() != std::size_t(wanted.size())) {
        *error = u"Some of the requested foods are not in the catalogue"_s;
        return false;
    }
    return true;
}

UsdaFood* findFood(std::vector<UsdaFood>& foods, int ndb) {
    auto it = std::lower_bound(foods.begin(), foods.end(), ndb,
                               [](const UsdaFood& food, int n) { return food.ndb < n; });
    return it != foods.end() && it->ndb == ndb ? &*it : nullptr;
}

bool readMeasures(const QString& dir, UsdaCatalogue* out, QString* error) {
    Rows rows;
    if (!readTsv(dir + u"/measures.tsv"_s, 4, &rows, error))
        return false;
    for (const QStringList& row : rows) {
        int ndb = 0;
        UsdaMeasure measure{0, row[2], 0};
        bool gramsOk = false;
        measure.grams = row[3].toDouble(&gramsOk);
        if (!toInt(row[0], &ndb) || !toInt(row[1], &measure.number) || !gramsOk) {
            *error = u"measures.tsv: bad row %1"_s.arg(row.join(u' '));
            return false;
        }
        if (UsdaFood* food = findFood(out->foods, ndb))
            food->measures.push_back(std::move(measure));
    }
    for (UsdaFood& food : out->foods) {
        for (std::size_t i = 0; i < food.measures.size(); ++i) {
            if (food.measures[i].number != int(i) + 1) {
                *error = u"measures.tsv: measures of %1 are not numbered 1, 2, ..."_s.arg(food.ndb);
                return false;
            }
        }
    }
    return true;
}

bool readFavorites(const QString& dir, UsdaCatalogue* out, QString* error) {
    Rows rows;
    if (!readTsv(dir + u"/favorites.tsv"_s, 2, &rows, error))
        return false;
    for (const QStringList& row : rows) {
        int ndb = 0;
        if (!toInt(row[0], &ndb)) {
            *error = u"favorites.tsv: bad number %1"_s.arg(row[0]);
            return false;
        }
        if (findFood(out->foods, ndb))
            out->favorites.push_back(ndb);
    }
    return true;
}

} // namespace

bool loadCatalogue(const QString& usdaDir, const std::vector<int>& onlyFoods, UsdaCatalogue* out,
                   QString* error) {
    QHash<int, int> groupOfNdb;
    if (!readGroups(usdaDir, out, &groupOfNdb, error) ||
        !readFoods(usdaDir, onlyFoods, out, error) || !readMeasures(usdaDir, out, error) ||
        !readFavorites(usdaDir, out, error))
        return false;

    QSet<int> codes;
    for (const UsdaGroup& group : out->groups)
        codes.insert(group.code);
    for (UsdaFood& food : out->foods) {
        food.groupCode = groupOfNdb.value(food.ndb, groupFromNumber(food.ndb, codes));
        if (!codes.contains(food.groupCode)) {
            *error = u"No food group for %1 %2"_s.arg(food.ndb).arg(food.name);
            return false;
        }
    }
    return true;
}

} // namespace seed
