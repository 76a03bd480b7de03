-- Kind 1: Warta only by Beta on days 3-4.
-- include: _rules.sql
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien[@Id<=4]/Sluzba[@Id='1']/Osoba => 1,2,3,4
-- expect: /Baza/Dzien[@Id<=4]/Sluzba[@Id='2']/Osoba => 3,4,1,2
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 1, '1;Warta', '2;Beta', '3;4;3-4');
