-- Kind 0: Alfa takes only Brama on days 1-5.
-- include: _rules.sql
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien[@Id<=5]/Sluzba[@Id='1']/Osoba => 3,4,3,4,3
-- expect: /Baza/Dzien[@Id<=5]/Sluzba[@Id='2']/Osoba => 1,2,1,2,1
-- expect: /Baza/Dzien[@Id='6']/Sluzba[@Id='1']/Osoba => 2
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 0, '1;Alfa', '2;Brama', '1;5;1-5');
