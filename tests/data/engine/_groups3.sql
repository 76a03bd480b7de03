-- Three groups of two; carried counts 0 (Alfa), 10 (Beta), 6 (Gamma) from January.
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa'), ('Beta'), ('Gamma');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'A1', 'a', '', 1, 0, 1), ('1', 'A2', 'a', '', 1, 0, 2),
 ('2', 'B1', 'b', '', 1, 0, 1), ('2', 'B2', 'b', '', 1, 0, 2),
 ('3', 'C1', 'c', '', 1, 0, 1), ('3', 'C2', 'c', '', 1, 0, 2);
INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES
 ('3', '2023-01', 5, ''), ('4', '2023-01', 5, ''),
 ('5', '2023-01', 3, ''), ('6', '2023-01', 3, '');
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 3, 1, 0, 0);
