-- The locale setting takes a name of the locale database, in any case; a
-- name the database does not hold is refused and the setting keeps its
-- value.  Needs only the locale database, not the locale formats.
\pset format unaligned
\pset tuples_only on
-- the setting is checked once the module is loaded (by a first call here;
-- LOAD or session_preload_libraries in a session that sets it first)
SELECT vf_put(0, 'DATE9.');
SHOW valfmt.locale;
SET valfmt.locale = 'zz_ZZ';
SET valfmt.locale = 'en_USA';
SET valfmt.locale = 'en';
SET valfmt.locale = 'de-DE';
SET valfmt.locale = 'en_us';
SHOW valfmt.locale;
SET valfmt.locale = 'ja_JP';
SET valfmt.locale = 'xx_YY';
SHOW valfmt.locale;
-- a transaction that fails takes a local setting back
BEGIN;
SET LOCAL valfmt.locale = 'fr_FR';
SHOW valfmt.locale;
ROLLBACK;
SHOW valfmt.locale;
-- built-in formats that are not locale formats do not follow it
SELECT '<' || vf_put(1234.5, 'COMMA10.2') || '>', vf_put(0, 'DATE9.');
RESET valfmt.locale;
SHOW valfmt.locale;
