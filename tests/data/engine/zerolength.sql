-- A duty of no length from midnight, two places a day: nobody takes both
-- places of a day, though a midnight free-from time frees the person at once.
-- On the 2nd A2 and A3 are absent, so the second place stays empty.
-- request: month=2023-02 duties=1 groups=1 ruleset=0
-- expect: /Baza/Dzien[@Id='1']/Sluzba/Osoba => 1,2
-- expect: /Baza/Dzien[@Id='2']/Sluzba/Osoba => 1
-- expect: /Baza/Dzien/Sluzba[Osoba[1]/@Id=Osoba[2]/@Id] =>
-- cell: 1.2 => A1||{luka}
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'A1', 'a', '', 1, 0, 1), ('1', 'A2', 'a', '', 1, 0, 2), ('1', 'A3', 'a', '', 1, 0, 3);
INSERT INTO zwolnienia (od, "do", rodzaj, id_item, opis) VALUES
 ('2023-02-02', '2023-02-02', 0, '2', 'L4'), ('2023-02-02', '2023-02-02', 0, '3', 'L4');
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Apel', '00:00', 0, 2, 1, 0, 0);
