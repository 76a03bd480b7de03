-- Priorytet 0: each group once a day before any serves twice, lowest count per
-- person first among those; the day record starts empty every day.
-- include: _groups3.sql
-- request: month=2023-02 duties=1 groups=1,2,3 ruleset=0
-- expect: /Baza/Dzien[@Id='1']/Sluzba/Osoba => 1,5,3
-- expect: /Baza/Dzien[@Id='2']/Sluzba/Osoba => 2,6,4
-- cell: 1.1 => A1||C1||B1
UPDATE opcje SET Value='0' WHERE Name='Priorytet';
