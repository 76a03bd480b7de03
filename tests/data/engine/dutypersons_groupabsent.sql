-- Kind 6 lists A1 and B1 for Warta, kind 2 makes Alfa absent on days 3-5:
-- A1 is absent with the group, the absence is logged, B1 takes Warta. The
-- duty-person rule goes before the kind-1 rule "Warta only by Alfa", so B1 of
-- Beta may serve it.
-- include: _rules.sql
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien[@Id<=2]/Sluzba[@Id='1']/Osoba => 1,1
-- expect: /Baza/Dzien[@Id>=3 and @Id<=5]/Sluzba[@Id='1']/Osoba => 3,3,3
-- expect: /Baza/Dzien[@Id>=3 and @Id<=5]/Sluzba/Osoba[@Id='1' or @Id='2'] =>
-- expect: /Baza/Exclusions/Day[@Id='3']/Item[@Date1='2023-02-03' and @Date2='2023-02-05'] => 1G
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 6, '1;Warta', replace('1;A1 a~3;B1 b', '~', char(0)), '1;28;1-28'),
 ('1', 2, '1;Alfa', '', '3;5;3-5'),
 ('1', 1, '1;Warta', '1;Alfa', '1;28;1-28');
