-- Kind 4: Brama needs nobody on days 1-7.
-- include: _rules.sql
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien[@Id<=7]/Sluzba[@Id='2']/Osoba =>
-- expect: /Baza/Dzien[@Id='7']/Sluzba => 1,2
-- expect: /Baza/Dzien[@Id<=8]/Sluzba[@Id='1']/Osoba => 1,3,2,4,1,3,2,4
-- expect: /Baza/Dzien[@Id='8']/Sluzba[@Id='2']/Osoba => 1
-- cell: 2.7 =>
-- cell: 2.8 => A1
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 4, '2;Brama', '', '1;7;1-7');
