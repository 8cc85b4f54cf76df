-- The locale setting: names as the locale database spells them, in any
-- case; the national-language formats follow it.
\pset format unaligned
\pset tuples_only on
SET valfmt.locale = 'zz_ZZ';
SET valfmt.locale = 'en_USA';
SET valfmt.locale = 'en_us';
SELECT '<' || vf_put(1234.5, 'NLNUM10.2') || '>';
SET valfmt.locale = 'de_DE';
SELECT '<' || vf_put(1234.5, 'NLNUM10.2') || '>';
RESET valfmt.locale;
SELECT '<' || vf_put(1234.5, 'NLNUM10.2') || '>';
