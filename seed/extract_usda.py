#!/usr/bin/env python3
"""Extracts the food catalogue of ForkData.mdb from the USDA National Nutrient Database
for Standard Reference, release 24 (SR24). USDA food composition data is in the public domain.

Input: a zip archive of SR24 as XML, one file per food (usda_sr24/NNNNN.xml), with
usda_sr24/foods.index listing the current foods as "NDB|name". Each food file holds
<food uid="NNNNN" name="..."> with <measure amount="1.0" name="cup" grams="227.0"/> household
measures and <nutrient amount="81.11" name="Fat"/> values per 100 g of edible portion.
Only facts (numbers, names, weights) are taken from it.

Output, in OUT (default: usda/ beside this script), sorted by NDB number:
  foods.tsv           NDB, name and the eight nutrients per 100 g as written in the XML
  measures.tsv        NDB, measure number (1, 2, ... in the XML's order), description, grams
  favorites.tsv       the everyday foods the favourites group starts with
  food-groups.tsv     the USDA food groups (copied from GROUPS_DIR)
  food-group-of-ndb.tsv  the group of each food (copied from GROUPS_DIR)
  food-group-extra.tsv   groups chosen by hand for the few foods the two files above cannot place

Developers run it by hand when the catalogue changes; the build only reads its output.
Usage: extract_usda.py ARCHIVE GROUPS_DIR [--out OUT]
"""

import argparse
import pathlib
import sys
import xml.etree.ElementTree as ET
import zipfile

SOURCE = "USDA National Nutrient Database for Standard Reference, release 24 (public domain)"

# XML nutrient names in the order of the columns Fat, Protein, Carbohydrate, Calorie,
# Sodium, Cholesterol, Other1, Other2.
NUTRIENTS = ["Fat", "Protein", "Carbs", "Energy", "Sodium", "Cholesterol", "Fiber", "Sugars"]

# Milk, egg, banana, apple, bread, butter, chicken breast, rice, coffee, orange juice.
FAVORITES = ["01077", "01123", "09040", "09003", "18069", "01001", "05064", "20045", "14209", "09206"]

# Brand and formulated foods numbered 42xxx/43xxx that release 28 no longer lists: their
# number carries no group, so each is placed by what it is.
EXTRA_GROUPS = {
    "42100": "0800", "42130": "0700", "42149": "0900", "42181": "1400", "42182": "1400",
    "42184": "0800", "42188": "0700", "42241": "0700", "42262": "0700", "43129": "1600",
    "43136": "1600", "43306": "0800", "43343": "1400", "43350": "1100", "43388": "1400",
    "43510": "0800", "43584": "0800", "43599": "0400",
}


def amount_text(amount):
    """'1.0' -> '1', '0.50' -> '0.5', '3.527' stays."""
    if "." in amount:
        amount = amount.rstrip("0").rstrip(".")
    return amount


def clean(text):
    """Names go into one TSV field: no tabs or line breaks, no stray spaces at the ends."""
    return " ".join(text.split())


def read_foods(archive):
    with zipfile.ZipFile(archive) as z:
        index = z.read("usda_sr24/foods.index").decode("utf-8")
        ndbs = sorted({line.split("|", 1)[0] for line in index.splitlines() if line.strip()})
        for ndb in ndbs:
            root = ET.fromstring(z.read(f"usda_sr24/{ndb}.xml"))
            values = {n.get("name"): n.get("amount") for n in root.iter("nutrient")}
            measures = [
                (amount_text(m.get("amount")) + " " + clean(m.get("name")), m.get("grams"))
                for m in root.iter("measure")
            ]
            yield ndb, clean(root.get("name")), [values.get(n, "") for n in NUTRIENTS], measures


def write(path, header, rows):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        for line in header:
            f.write(f"# {line}\n")
        for row in rows:
            f.write("\t".join(row) + "\n")


def read_tsv(path):
    rows = []
    for line in pathlib.Path(path).read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            rows.append(line.split("\t"))
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("archive", help="zip of SR24 XML files (usda_sr24/*.xml, foods.index)")
    parser.add_argument("groups_dir", help="folder with food-groups.tsv and food-group-of-ndb.tsv")
    parser.add_argument("--out", default=str(pathlib.Path(__file__).parent / "usda"))
    args = parser.parse_args()
    out = pathlib.Path(args.out)
    out.mkdir(parents=True, exist_ok=True)

    foods = list(read_foods(args.archive))
    names = {ndb: name for ndb, name, _, _ in foods}
    missing = [ndb for ndb in FAVORITES if ndb not in names]
    if missing:
        sys.exit(f"favourites not in the catalogue: {missing}")

    write(out / "foods.tsv",
          [SOURCE + ".", "Values per 100 g of edible portion as the source writes them; "
           "empty = not given.", "NDB\tname\t" + "\t".join(NUTRIENTS)],
          ([ndb, name] + values for ndb, name, values, _ in foods))
    write(out / "measures.tsv",
          [SOURCE + ".", "Household measures in the source's order; grams as the source writes them.",
           "NDB\tMSRE_NO\tdescription\tgrams"],
          ([ndb, str(no), desc, grams]
           for ndb, _, _, measures in foods
           for no, (desc, grams) in enumerate(measures, start=1)))
    write(out / "favorites.tsv",
          ["Foods of " + SOURCE + " copied into the favourites group.", "NDB\tname"],
          ([ndb, names[ndb]] for ndb in FAVORITES))

    groups = read_tsv(pathlib.Path(args.groups_dir) / "food-groups.tsv")
    group_of = read_tsv(pathlib.Path(args.groups_dir) / "food-group-of-ndb.tsv")
    r28 = "USDA National Nutrient Database for Standard Reference, release 28 (public domain)"
    write(out / "food-groups.tsv", ["Food groups of " + r28 + ".", "code\tname"], groups)
    write(out / "food-group-of-ndb.tsv",
          ["Food group of each food of " + r28 + ".",
           "A food not listed here nor in food-group-extra.tsv belongs to the group whose code",
           "starts with the NDB number's first two digits; 23xxx to 1300, 27xxx to 0600.",
           "NDB\tgroup code"], group_of)
    codes = {code for code, _ in groups}
    bad = {ndb: code for ndb, code in EXTRA_GROUPS.items() if code not in codes or ndb not in names}
    if bad:
        sys.exit(f"bad hand-placed groups: {bad}")
    write(out / "food-group-extra.tsv",
          ["Groups chosen by hand for foods of " + SOURCE,
           "that release 28 no longer lists and whose number names no group.", "NDB\tgroup code"],
          ([ndb, code] for ndb, code in sorted(EXTRA_GROUPS.items())))
    print(f"{len(foods)} foods, {sum(len(m) for *_, m in foods)} measures written to {out}")


if __name__ == "__main__":
    main()
