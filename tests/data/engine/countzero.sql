-- A group whose count is 0 is taken at once: on the 1st (one place) Alfa
-- serves and Gamma, absent by a rule, is never looked at, so its absence is
-- not logged; on the 2nd the later places reach it and log it.
-- include: _groups3.sql
-- request: month=2023-02 duties=1 groups=1,2,3 ruleset=1
-- expect: /Baza/Dzien[@Id='1']/Sluzba/Osoba => 1
-- expect: /Baza/Exclusions/Day[@Id='1']/Item =>
-- expect: /Baza/Exclusions/Day[@Id='2']/Item => 3G
INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES ('1', '2023-02-01', 1);
INSERT INTO wizardlist (nazwa) VALUES ('Reguły');
INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES
 ('1', 2, '3;Gamma', '', '1;2;1-2');
