-- Priorytet 1: the group with the fewest duties per person wins, whether it
-- served today or not; a group whose persons are all busy is passed over for
-- that place only.
-- include: _groups3.sql
-- request: month=2023-02 duties=1 groups=1,2,3 ruleset=0
-- expect: /Baza/Dzien[@Id='1']/Sluzba/Osoba => 1,2,5
-- expect: /Baza/Dzien[@Id='2']/Sluzba/Osoba => 1,2,6
-- cell: 1.1 => A1||A2||C1
UPDATE opcje SET Value='1' WHERE Name='Priorytet';
