-- A person with privilege 1 is never chosen.
-- request: month=2023-02 duties=1 groups=1 ruleset=0
-- expect: /Baza/Dzien/Sluzba/Osoba[@Id='2'] =>
-- expect: /Baza/Dzien[@Id<=4]/Sluzba/Osoba => 1,3,1,3
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'P1', 'a', '', 1, 0, 1), ('1', 'P2', 'a', '', 1, 1, 2), ('1', 'P3', 'a', '', 1, 0, 3);
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 0, 0);
