-- Two groups of two and two duties; without rules Alfa takes Warta and Beta
-- takes Brama every day.
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa'), ('Beta');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'A1', 'a', '', 1, 0, 1), ('1', 'A2', 'a', '', 1, 0, 2),
 ('2', 'B1', 'b', '', 1, 0, 1), ('2', 'B2', 'b', '', 1, 0, 2);
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 0, 0),
 ('Brama', '20:00', 4, 1, 1, 0, 0);
INSERT INTO wizardlist (nazwa) VALUES ('Reguły');
