-- Head count: a rule releasing the duty beats a sluzby_ilosc row, which beats ilosc_std.
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien[@Id='1']/Sluzba[@Id='1']/Osoba => 1,2
-- expect: /Baza/Dzien[@Id='3']/Sluzba[@Id='1']/Osoba => 5
-- expect: /Baza/Dzien[@Id='5']/Sluzba[@Id='1']/Osoba => 3,4,5
-- expect: /Baza/Dzien[@Id='10']/Sluzba[@Id='1']/Osoba =>
-- expect: /Baza/Dzien[@Id='11']/Sluzba[@Id='1']/Osoba =>
-- expect: /Baza/Dzien[@Id='12']/Sluzba[@Id='1']/Osoba => 5,1
-- expect: /Baza/Dzien[@Id='1']/Sluzba[@Id='2']/Osoba =>
-- expect: /Baza/Dzien[@Id='7']/Sluzba[@Id='2'] => 2
-- expect: /Baza/Dzien[@Id='7']/Sluzba[@Id='2']/Osoba => 5
-- expect: /Baza/Dzien[@Id='1']/Sluzba => 1,2
-- cell: 1.1 => Kowalski Jan||Nowak Adam
-- cell: 1.10 =>
-- cell: 2.1 =>
-- cell: 2.7 => Kamiński Tomasz
UPDATE opcje SET Value='[nazwisko] [imie]' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Alfa'), ('Pusta');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'Kowalski', 'Jan', 'szer.', 1, 0, 1),
 ('1', 'Nowak', 'Adam', 'szer.', 1, 0, 2),
 ('1', 'Wiśniewski', 'Piotr', 'kpr.', 1, 0, 3),
 ('1', 'Wójcik', 'Marek', 'kpr.', 1, 0, 4),
 ('1', 'Kamiński', 'Tomasz', 'sierż.', 1, 0, 5);
-- Duty 2 needs nobody by standard but one person on the 7th.
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 2, 1, 0, 0),
 ('Brama', '20:00', 4, 0, 1, 0, 0);
INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES
 ('1', '2023-02-03', 1),
 ('1', '2023-02-05', 3),
 ('1', '2023-02-05', 1),
 ('1', '2023-02-10', 3),
 ('1', '2023-03-12', 0),
 ('2', '2023-02-07', 1);
INSERT INTO wizardlist (nazwa) VALUES ('Święta');
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 4, '1;Warta', '', replace('10;11;10-11', '~', char(0)));
