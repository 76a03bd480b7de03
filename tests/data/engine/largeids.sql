-- Persons are found by their ids however large: the previous months' counts
-- and dates and the absences go to the persons they name.
-- request: month=2023-02 duties=1 groups=1,2 ruleset=0
-- expect: /Baza/Dzien[@Id<=4]/Sluzba/Osoba => 3000000000000,3000000000000,3000000000000,7
-- expect: /Baza/Exclusions/Day[@Id='4']/Item => 1000000000000P
-- person: 1000000000000 A1 a | Alfa | 0 | 2022-01-01
-- person: 2000000000000 B1 a | Beta | 0 | 2023-03-01 08:00:00
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
UPDATE opcje SET Value='1' WHERE Name='Priorytet';
INSERT INTO grupy (nazwa) VALUES ('Alfa'), ('Beta');
INSERT INTO ludzie (id, id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 (1000000000000, '1', 'A1', 'a', '', 1, 0, 1), (7, '1', 'A2', 'a', '', 1, 0, 2),
 (2000000000000, '2', 'B1', 'a', '', 1, 0, 1), (3000000000000, '2', 'B2', 'a', '', 1, 0, 2);
INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES
 ('1000000000000', '2023-01', 2, ''),
 ('2000000000000', '2023-01', 0, '2023-03-01 08:00:00'),
 ('3000000000000', '2023-01', 0, ''),
 ('7', '2023-01', 1, '');
INSERT INTO zwolnienia (od, "do", rodzaj, id_item, opis) VALUES
 ('2023-01-20', '2023-02-28', 0, '1000000000000', 'the whole month');
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 0, 0);
