-- A day's duty reaches into the next month: an absence that begins on the 1st
-- of the next month bars the 24-hour duty of the month's last day (A1's turn)
-- and is logged; the next in turn takes it.
-- request: month=2023-02 duties=1 groups=1 ruleset=0
-- expect: /Baza/Dzien[@Id='25']/Sluzba/Osoba => 1
-- expect: /Baza/Dzien[@Id='28']/Sluzba/Osoba => 2
-- expect: /Baza/Dzien/Sluzba/Osoba[@Id='1'] => 1,1,1,1,1,1,1,1,1
-- expect: /Baza/Exclusions/Day[@Id='28']/Item[@Date1='2023-03-01' and @Date2='2023-03-05'] => 1P
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'A1', 'a', '', 1, 0, 1), ('1', 'A2', 'a', '', 1, 0, 2), ('1', 'A3', 'a', '', 1, 0, 3);
INSERT INTO zwolnienia (od, "do", rodzaj, id_item, opis) VALUES ('2023-03-01', '2023-03-05', 0, '1', 'urlop');
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Doba', '08:00', 24, 1, 1, 0, 0);
