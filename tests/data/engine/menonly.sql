-- A duty whose kobiety is 0 is served by men only; kobiety 1 by everybody.
-- request: month=2023-02 duties=1,2 groups=1 ruleset=0
-- expect: /Baza/Dzien[@Id<=4]/Sluzba[@Id='1']/Osoba => 1,4,1,4
-- expect: /Baza/Dzien[@Id<=4]/Sluzba[@Id='2']/Osoba => 2,3,2,3
-- expect: /Baza/Dzien/Sluzba[@Id='1']/Osoba[@Id='2' or @Id='3'] =>
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'M1', 'a', '', 1, 0, 1), ('1', 'K2', 'a', '', 0, 0, 2),
 ('1', 'K3', 'a', '', 0, 0, 3), ('1', 'M4', 'a', '', 1, 0, 4);
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 0, 0, 0),
 ('Biuro', '20:00', 4, 1, 1, 0, 0);
