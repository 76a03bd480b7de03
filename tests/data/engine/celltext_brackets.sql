-- Brackets of the cell pattern that belong to no field stay, and a field
-- that the replacements before it make whole is replaced when its own turn
-- comes after theirs.
-- request: month=2023-02 duties=1 groups=1 ruleset=0
-- cell: 1.1 => Alfa [Nowak]] [x
-- cell: 1.2 => [grukpr.pa] [Kowal]] [x
UPDATE opcje SET Value='[gru[stopien]pa] [[nazwisko]]] [x' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'Nowak', 'Jan', '', 1, 0, 1), ('1', 'Kowal', 'Ewa', 'kpr.', 1, 0, 2);
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 0, 0);
