-- Kind 3: A1 is absent all month (period up to 31 in a 28-day month).
-- include: _rules.sql
-- request: month=2023-02 duties=1,2 groups=1,2 ruleset=1
-- expect: /Baza/Dzien/Sluzba/Osoba[@Id='1'] =>
-- expect: /Baza/Dzien[@Id<=3]/Sluzba[@Id='1']/Osoba => 2,2,2
-- expect: /Baza/Exclusions/Day[@Id='28']/Item[@Date1='2023-02-01' and @Date2='2023-02-28'] => 1P
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 3, '1;A1 a', '', '1;31;1-31');
