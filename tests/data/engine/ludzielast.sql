-- Carried counts sum the months before the generated one only; the free-from
-- time comes from the previous month's row: its date, 1 January of the year
-- before when the date is empty, the day before the month without a row.
-- request: month=2023-03 duties=1 groups=1,2,3 ruleset=0
-- expect: /Baza/Dzien[@Id<=6]/Sluzba/Osoba => 4,1,2,3,4,1
-- person: 5 C1 a | Gamma | 0 | 2022-01-01
-- person: 6 C2 a | Gamma | 0 | 2023-02-28
-- person: 1 A1 a | Alfa |
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
UPDATE opcje SET Value='1' WHERE Name='Priorytet';
INSERT INTO grupy (nazwa) VALUES ('Alfa'), ('Beta'), ('Gamma');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'A1', 'a', '', 1, 0, 1), ('1', 'A2', 'a', '', 1, 0, 2), ('1', 'A3', 'a', '', 1, 0, 3),
 ('2', 'B1', 'b', '', 1, 0, 1),
 ('3', 'C1', 'a', '', 1, 0, 1), ('3', 'C2', 'a', '', 1, 0, 2);
INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES
 ('1', '2023-01', 4, ''),
 ('1', '2023-02', 3, '2023-03-02 06:00:00'),
 ('1', '2023-03', 10, '2023-03-31'),
 ('1', '2023-04', 7, ''),
 ('4', '2023-02', 2, '2023-02-27 20:00:00'),
 ('5', '2023-02', 500, ''),
 ('6', '2023-01', 500, '');
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 0, 0);
