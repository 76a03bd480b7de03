-- Persons take places in the order of their random number (equal numbers in
-- stored order), each moving to the end of the group; the turn runs on across days.
-- request: month=2023-02 duties=1 groups=1 ruleset=0
-- expect: /Baza/Dzien[@Id<=6]/Sluzba/Osoba => 2,4,3,1,2,4
-- expect: /Baza/Dzien[@Id='28']/Sluzba/Osoba => 1
-- cell: 1.1 => sierż. Zieliński Ewa (Beta)
-- cell: 1.4 => szer. Lis Jan (Beta)
UPDATE opcje SET Value='[stopien] [nazwisko] [imie] ([grupa])' WHERE Name='CellShow';
INSERT INTO grupy (nazwa) VALUES ('Beta'), ('Gamma');
INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, random) VALUES
 ('1', 'Lis', 'Jan', 'szer.', 1, 0, 30),
 ('1', 'Zieliński', 'Ewa', 'sierż.', 0, 0, 10),
 ('1', 'Mazur', 'Ola', 'kpr.', 0, 0, 20),
 ('1', 'Król', 'Piotr', 'szer.', 1, 0, 10),
 ('2', 'Obcy', 'Nie', 'szer.', 1, 0, 0);
INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES
 ('Warta', '08:00', 8, 1, 1, 0, 0);
