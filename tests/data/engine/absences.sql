-- Absences of the database: every one that overlaps the month counts (also
-- one spanning it); another kind, or another month, does not; one that starts
-- in the rest after a duty and lasts beyond it does not block that duty.
-- request: month=2023-02 duties=1 groups=1 ruleset=0
-- expect: /Baza/Dzien/Sluzba/Osoba[@Id='2'] =>
-- expect: /Baza/Dzien[@Id<=4]/Sluzba/Osoba => 3,4,3,1
-- expect: /Baza/Dzien[@Id='14']/Sluzba/Osoba => 4
-- expect: /Baza/Dzien[@Id='15' or @Id='16']/Sluzba/Osoba[@Id='4'] =>
-- expect: /Baza/Exclusions/Day[@Id='1']/Item => 1P,2P
-- expect: /Baza/Exclusions/Day[@Id='1']/Item[@Date1='2023-01-15' and @Date2='2023-03-15'] => 2P
UPDATE opcje SET Value='[nazwisko]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'P1', 'a', '', 1, 0, 1), ('1', 'P2', 'a', '', 1, 0, 2),
 ('1', 'P3', 'a', '', 1, 0, 3), ('1', 'P4', 'a', '', 1, 0, 4);
INSERT INTO zwolnienia (od, "do", rodzaj, id_item, opis) VALUES
 ('2023-01-20', '2023-02-03', 0, '1', 'ends in the month'),
 ('2023-01-15', '2023-03-15', 0, '2', 'spans the month'),
 ('2023-02-10', '2023-02-10', 0, '3', 'one day'),
 ('2023-02-15', '2023-02-16', 0, '4', 'in the rest after the 14th'),
 ('2023-02-01', '2023-02-28', 1, '4', 'another kind'),
 ('2023-01-01', '2023-01-31', 0, '4', 'another month');
-- Rest 16 h: a duty's persons are free again at 08:00 the next day, one moment too late.
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 16, 0);
