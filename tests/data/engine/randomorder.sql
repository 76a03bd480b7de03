-- The stored random order as the database orders it: an empty number first,
-- then numbers by value (equal ones in stored order), texts, then blobs.
-- request: month=2023-02 duties=1 groups=1 ruleset=0
-- expect: /Baza/Dzien[@Id<=9]/Sluzba/Osoba => 2,9,5,7,4,1,8,3,6
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'P1', 'a', '', 1, 0, 3), ('1', 'P2', 'a', '', 1, 0, NULL), ('1', 'P3', 'a', '', 1, 0, 'abc'),
 ('1', 'P4', 'a', '', 1, 0, 2.5), ('1', 'P5', 'a', '', 1, 0, 2), ('1', 'P6', 'a', '', 1, 0, X'01'),
 ('1', 'P7', 'a', '', 1, 0, 2), ('1', 'P8', 'a', '', 1, 0, '10'), ('1', 'P9', 'a', '', 1, 0, -1);
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 0, 0);
