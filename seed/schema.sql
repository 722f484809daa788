-- The seven tables of ForkData.mdb. Text compares and sorts without regard to case
-- (COLLATE NOCASE), so that SQL order and the trees' order agree. Dates are stored
-- as 'YYYY-MM-DD' text in columns declared DATE; yes/no columns are declared BOOLEAN
-- and hold 0 or 1. The declared types tell the result sets how to hand values out.
-- USDA_GM_WT is the serving's weight in grams as the USDA gives it (0: no USDA weight).
-- The builder marks the file with the layout's version (PRAGMA user_version, kSchemaVersion).

CREATE TABLE FoodGroup (
    GroupId     INTEGER PRIMARY KEY,
    GroupName   TEXT COLLATE NOCASE,
    ParentGroup INTEGER NOT NULL DEFAULT 0,
    GroupTag    TEXT COLLATE NOCASE
);
CREATE INDEX FoodGroup_Parent ON FoodGroup (ParentGroup, GroupName);

CREATE TABLE FoodItem (
    FoodId       INTEGER PRIMARY KEY,
    GroupId      INTEGER NOT NULL DEFAULT 0,
    FoodName     TEXT COLLATE NOCASE,
    ServingSize  TEXT COLLATE NOCASE,
    Fat          REAL,
    Protein      REAL,
    Carbohydrate REAL,
    Calorie      REAL,
    Sodium       REAL,
    Cholesterol  REAL,
    Other1       REAL,
    Other2       REAL,
    USDA_NDB_NO  INTEGER NOT NULL DEFAULT 0,
    USDA_MSRE_NO INTEGER NOT NULL DEFAULT 0,
    USDA_GM_WT   REAL NOT NULL DEFAULT 0
);
CREATE INDEX FoodItem_Group ON FoodItem (GroupId, FoodName, FoodId);

CREATE TABLE DietActivity (
    DietId       INTEGER PRIMARY KEY,
    UserName     TEXT COLLATE NOCASE NOT NULL,
    DietDate     DATE NOT NULL,
    FoodName     TEXT COLLATE NOCASE,
    GroupName    TEXT COLLATE NOCASE,
    NumServings  REAL,
    ServingSize  TEXT COLLATE NOCASE,
    Fat          REAL,
    Protein      REAL,
    Carbohydrate REAL,
    Calorie      REAL,
    Sodium       REAL,
    Cholesterol  REAL,
    Other1       REAL,
    Other2       REAL,
    USDA_NDB_NO  INTEGER NOT NULL DEFAULT 0,
    USDA_MSRE_NO INTEGER NOT NULL DEFAULT 0,
    USDA_GM_WT   REAL NOT NULL DEFAULT 0
);
-- One user's entries in log order come straight from this index, without touching the rows.
CREATE INDEX DietActivity_UserDate ON DietActivity (UserName, DietDate, FoodName, DietId);

-- The days of each user's log: one row for each (UserName, DietDate) of DietActivity, so the
-- diet tree's days are read without visiting every entry. The program writes it with every
-- entry, in the same transaction.
CREATE TABLE DietDay (
    UserName TEXT COLLATE NOCASE NOT NULL,
    DietDate DATE NOT NULL,
    PRIMARY KEY (UserName, DietDate)
) WITHOUT ROWID;

CREATE TABLE USDA_Measures (
    NDB_NO    INTEGER NOT NULL,
    MSRE_NO   INTEGER NOT NULL,
    MSRE_DESC TEXT COLLATE NOCASE,
    GM_WT     REAL,
    PRIMARY KEY (NDB_NO, MSRE_NO)
);
CREATE INDEX USDA_Measures_Weight ON USDA_Measures (NDB_NO, GM_WT);

CREATE TABLE TableKey (
    KeyName  TEXT COLLATE NOCASE PRIMARY KEY,
    KeyValue INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE CONFIG (
    ConfigItem     TEXT COLLATE NOCASE PRIMARY KEY,
    ConfigValue    TEXT NOT NULL DEFAULT '',
    SelectedConfig BOOLEAN NOT NULL DEFAULT 0
);
