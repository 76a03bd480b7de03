-- Whole-group duties take all places of a day from one group; a group whose
-- only person is absent is passed over for another; a place the group cannot
-- fill is a gap that stands where the place stands.
-- request: month=2023-02 duties=1,2 groups=1,2,3 ruleset=0
-- answer: yes
-- expect: /Baza/Dzien[@Id='1']/Sluzba[@Id='1']/Osoba => 1,2,3
-- expect: /Baza/Dzien[@Id='1']/Sluzba[@Id='2']/Osoba => 4,5,6
-- expect: /Baza/Dzien[@Id='2']/Sluzba[@Id='1']/Osoba => 1,2,3
-- expect: /Baza/Dzien[@Id='2']/Sluzba[@Id='2']/Osoba => 4,5,6
-- expect: /Baza/Dzien/Sluzba/Osoba[@Id='7'] =>
-- expect: /Baza/Exclusions/Day[@Id='2']/Item => 7P
-- cell: 1.1 => A1||A2||A3
-- cell: 2.1 => B1||B2||B3||{luka}
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa'), ('Beta'), ('Gamma');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'A1', 'a', '', 1, 0, 1), ('1', 'A2', 'a', '', 1, 0, 2), ('1', 'A3', 'a', '', 1, 0, 3),
 ('2', 'B1', 'b', '', 1, 0, 1), ('2', 'B2', 'b', '', 1, 0, 2), ('2', 'B3', 'b', '', 1, 0, 3),
 ('3', 'C1', 'c', '', 1, 0, 1);
INSERT INTO zwolnienia (od, "do", rodzaj, id_item, opis) VALUES ('2023-01-15', '2023-03-15', 0, '7', 'L4');
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 3, 1, 0, 1),
 ('Patrol', '20:00', 4, 4, 1, 0, 1);
