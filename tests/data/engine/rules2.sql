-- Kind 2: Alfa is absent on days 2-3; the absence is logged.
-- include: _rules.sql
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien[@Id='2']/Sluzba/Osoba => 4,3
-- expect: /Baza/Dzien[@Id='2' or @Id='3']/Sluzba/Osoba[@Id='1' or @Id='2'] =>
-- expect: /Baza/Exclusions/Day => 2,3
-- expect: /Baza/Exclusions/Day[@Id='2']/Item[@Date1='2023-02-02' and @Date2='2023-02-03'] => 1G
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 2, '1;Alfa', '', '2;3;2-3');
