-- The previous month's last duties bar the first days: A1 is free from 10:00
-- of the 1st, A2 from 09:00 of the 2nd, A3 before the month. Every stored form
-- the carried-over counts window reads is read here too, also an absence and
-- a head count written dd.mm.yyyy (two places on the 4th, A3 absent then).
-- request: month=2023-03 duties=1 groups=1 ruleset=0
-- expect: /Baza/Dzien[@Id<=3]/Sluzba/Osoba => 3,1,2
-- expect: /Baza/Dzien[@Id='4']/Sluzba/Osoba => 1,2
-- expect: /Baza/Exclusions/Day/Item => 3P
-- expect: /Baza/Exclusions/Day => 4
-- person: 1 A1 a | Alfa |
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'A1', 'a', '', 1, 0, 1), ('1', 'A2', 'a', '', 1, 0, 2), ('1', 'A3', 'a', '', 1, 0, 3);
INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES
 ('1', '2023-02', 4, '2023-03-01T10:00:00'),
 ('2', '2023-02', 4, '02.03.2023 09:00'),
 ('3', '2023-02', 4, '2023-02-28 20:00');
INSERT INTO zwolnienia (od, "do", rodzaj, id_item, opis) VALUES ('04.03.2023', '04.03.2023', 0, '3', 'L4');
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 0, 0);
INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES ('1', '04.03.2023', 2);
