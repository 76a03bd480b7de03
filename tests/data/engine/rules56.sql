-- Kind 5 inside a kind-6 search: Warta only by A1 and B1, but A1 takes only
-- Brama, so B1 takes every Warta.
-- include: _rules.sql
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien[@Id<=3]/Sluzba[@Id='1']/Osoba => 3,3,3
-- expect: /Baza/Dzien/Sluzba[@Id='1']/Osoba[@Id!='3'] =>
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 6, '1;Warta', replace('1;A1 a~3;B1 b', '~', char(0)), '1;28;1-28'),
 ('1', 5, '1;A1 a', '2;Brama', '1;28;1-28');
