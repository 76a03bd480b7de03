-- The cell pattern's fields take the person's values; a value that holds a
-- field's name is itself replaced by the fields after its own.
-- request: month=2023-02 duties=1 groups=1 ruleset=0
-- cell: 1.1 => kpr. Nowak Jan (Alfa & <Beta>)
-- cell: 1.2 => szer. KowalEwa Ewa (Alfa & <Beta>)
-- cell: 1.3 => [stopien] Lis Alfa & <Beta> Olga [nazwisko] (Alfa & <Beta>)
UPDATE opcje SET Value='[stopien] [nazwisko] [imie] ([grupa])' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa & <Beta>');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'Nowak', 'Jan', 'kpr.', 1, 0, 1), ('1', 'Kowal[imie]', 'Ewa', 'szer.', 1, 0, 2),
 ('1', 'Lis [grupa]', 'Olga [nazwisko]', '[stopien]', 1, 0, 3);
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta "A" & <B>', '08:00', 8, 1, 1, 0, 0);
