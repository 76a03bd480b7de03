-- Kind 5: A1 takes only Brama, all month.
-- include: _rules.sql
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien/Sluzba[@Id='1']/Osoba[@Id='1'] =>
-- expect: /Baza/Dzien[@Id<=3]/Sluzba[@Id='1']/Osoba => 2,2,2
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 5, '1;A1 a', '2;Brama', '1;28;1-28');
