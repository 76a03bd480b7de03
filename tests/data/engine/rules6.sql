-- Kind 6: Warta only by B2 and A2, searched over all groups in group order.
-- include: _rules.sql
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien[@Id<=3]/Sluzba[@Id='1']/Osoba => 2,2,2
-- expect: /Baza/Dzien/Sluzba[@Id='1']/Osoba[@Id!='2'] =>
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 6, '1;Warta', replace('4;B2 b~2;A2 a', '~', char(0)), '1;28;1-28');
