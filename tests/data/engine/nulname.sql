-- A name that begins with NUL is cut there: its Nazwisko element stays, with
-- an empty text, beside the names of the others.
-- request: month=2023-02 duties=1 groups=1 ruleset=0
-- expect: /Baza/Dzien[@Id<=3]/Sluzba/Osoba => 1,2,1
-- cell: 1.2 => Ewa
UPDATE opcje SET Value='[imie]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'Nowak', 'Jan', '', 1, 0, 1), ('1', char(0) || 'Zero', 'Ewa', '', 1, 0, 2);
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 0, 0);
