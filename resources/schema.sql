-- Tables of every Kadrelo database file. The template Databases/Empty/baza.mbd
-- is built from this file, and so are the test databases.
-- Ids are integers given by the database; columns naming another table's row
-- (id_grupa, id_osoba, id_item, id_sluzba, id_parent) hold that id as decimal
-- text. Dates are "yyyy-mm-dd", date-times "yyyy-mm-dd hh:nn:ss", times
-- "hh:nn"; flags 0/1.
-- Columns carry only SQLite's own collations, so that any SQLite tool can
-- query the file; the program asks for Polish order in its own queries
-- (ORDER BY nazwa COLLATE POLISH). Earlier builds declared COLLATE POLISH on
-- the name columns; the program registers it for those files too.

CREATE TABLE opcje (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT,
    Value TEXT
);
-- Options are looked up without regard to letter case.
CREATE UNIQUE INDEX name ON opcje (Name COLLATE NOCASE);

CREATE TABLE stopnie (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    nazwa TEXT
);

CREATE TABLE grupy (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    nazwa TEXT,
    sluzby_wyjatki INTEGER NOT NULL DEFAULT 0,
    uwzglednij INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE ludzie (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    id_grupa TEXT,
    nazwisko TEXT,
    imie TEXT,
    stopien TEXT,
    mezczyzna INTEGER NOT NULL DEFAULT 0,
    przywilej INTEGER NOT NULL DEFAULT 0,
    random INTEGER
);
CREATE INDEX ludzie_id_grupa ON ludzie (id_grupa);

CREATE TABLE sluzby (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    nazwa TEXT,
    od TEXT,
    okres INTEGER,
    ilosc_std INTEGER,
    kobiety INTEGER NOT NULL DEFAULT 0,
    rest NUMERIC,
    calagrupa INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE sluzby_ilosc (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    id_sluzba TEXT,
    data TEXT,
    ilosc INTEGER
);
CREATE INDEX sluzby_ilosc_id_sluzba ON sluzby_ilosc (id_sluzba, data);

CREATE TABLE zwolnienia (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    od TEXT,
    "do" TEXT,
    rodzaj INTEGER NOT NULL DEFAULT 0,
    id_item TEXT,
    opis TEXT
);
CREATE INDEX zwolnienia_id_item ON zwolnienia (id_item);

CREATE TABLE ludzie_last (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    id_osoba TEXT,
    miesiac TEXT,
    ilosc INTEGER,
    data TEXT
);
CREATE INDEX ludzie_last_id_osoba ON ludzie_last (id_osoba, miesiac);

-- Group/duty assignments with their periods; no window uses them yet.
CREATE TABLE grupy_sluzby (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    id_grupa TEXT,
    id_sluzba TEXT,
    od TEXT,
    "do" TEXT
);

CREATE TABLE sluzby_grupy (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    id_sluzba TEXT,
    id_grupa TEXT,
    od TEXT,
    "do" TEXT
);

CREATE TABLE wizardlist (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    nazwa TEXT
);

-- arg1, arg2 and Dates hold NUL-separated lists.
CREATE TABLE wizardlist_items (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    id_parent TEXT,
    Kind INTEGER,
    arg1 TEXT,
    arg2 TEXT,
    Dates TEXT
);
CREATE INDEX wizardlist_items_id_parent ON wizardlist_items (id_parent);

-- A new database is usable at once: readable cells, group variety first,
-- no program password.
INSERT INTO opcje (Name, Value) VALUES ('CellShow', '[stopien] [nazwisko] [imie]');
INSERT INTO opcje (Name, Value) VALUES ('Priorytet', '0');
INSERT INTO opcje (Name, Value) VALUES ('CellWidth', '3');
INSERT INTO opcje (Name, Value) VALUES ('CellHeight', '1');
INSERT INTO opcje (Name, Value) VALUES ('Pass', '');
INSERT INTO opcje (Name, Value) VALUES ('FeedbackHost', '');
