-- The sqlite3 shell with the valfmt extension: results between < and >.
.load ./valfmt_sqlite
.bail off
-- numbers, integers and numeric text with numeric formats
SELECT '<' || vf_put(1234.567, 'F10.2') || '>';
SELECT '<' || vf_put(42, 'F8.2') || '>';
SELECT '<' || vf_put('-1234.5', 'COMMA10.2') || '>';
SELECT '<' || vf_put(0, 'DATE9.') || '>';
SELECT '<' || vf_put(23000, 'date9.') || '>';
SELECT '<' || vf_put(45296, 'TIME8.') || '>';
-- character formats, UTF-8 in and out
SELECT '<' || vf_put('abc', '$UPCASE5.') || '>';
SELECT '<' || vf_put('héllo', '$CHAR7.') || '>';
SELECT '<' || vf_put('日本語', '$CHAR4.') || '>';
SELECT '<' || vf_put(12, '$CHAR3.') || '>';
-- informats: numbers, missing values and text
SELECT vf_input('(1,234)', 'COMMA10.2');
SELECT vf_input('21DEC2022', '@DATE9.');
SELECT vf_input('.', 'F1.') IS NULL, vf_input(NULL, 'F1.') IS NULL,
       vf_put(NULL, 'F1.') IS NULL;
SELECT '<' || vf_input('abc', '$UPCASE3.') || '>';
SELECT typeof(vf_input('12.5', 'F.')), vf_input('12.5', 'F.');
-- a format column that changes from row to row
SELECT '<' || vf_put(x, f) || '>' FROM (SELECT 0 AS x, 'DATE9.' AS f
  UNION ALL SELECT 1.5, 'F5.2' UNION ALL SELECT 366, 'DATE9.');
-- every day of 1990 to 2030 shown with DATE9. reads back as itself
WITH RECURSIVE d(x) AS (SELECT 10957 UNION ALL SELECT x + 1 FROM d
                        WHERE x < 25932)
SELECT count(*), sum(vf_input(vf_put(x, 'DATE9.'), 'DATE9.') <> x) FROM d;
-- errors
SELECT vf_put(1, NULL);
SELECT vf_put(1, '');
SELECT vf_put(1, 'NOSUCH8.');
SELECT vf_put(1, 'F99999.2');
SELECT vf_put('abc', 'F8.');
SELECT vf_put(1, '@DATE9.');
SELECT vf_input('abc', 'F3.');
SELECT vf_put(1, 'PD4.');
SELECT '<' || vf_put(1, 'F3.') || '>';
-- an informat without a width reads each whole text, and refuses one
-- longer than its largest width (32 for F, 32767 for $CHAR)
SELECT vf_input('123456789012345', 'F.'), vf_input('21DEC2022', 'DATE.');
SELECT vf_input('111111111111111111111111111111111', 'F.');
SELECT length(vf_input(printf('%.*c', 1000000, 'x'), '$CHAR.'));
SELECT length(vf_input(printf('%.*c', 32767, 'x'), '$CHAR.'));
-- a format column with more texts than the cache holds, texts padded past
-- 64 bytes among them: each row against printf
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)
SELECT count(*), sum(vf_put(i, f) IS NOT printf('%*d', 4 + i % 13, i))
FROM (SELECT i, CASE WHEN i % 3 = 0 THEN printf('  F%d.%80s', 4 + i % 13, '')
                     ELSE printf('f%d.', 4 + i % 13) END AS f FROM n);
-- user-defined formats: unknown until a catalogue is loaded
SELECT vf_put(42, 'AGEGRP.');
SELECT vf_load_catalog(readfile('../../examples/cntlout.xml')) IS NULL;
SELECT '<' || vf_put(x, 'AGEGRP.') || '>' FROM (SELECT 5 AS x UNION ALL
  SELECT 42 UNION ALL SELECT 70);
SELECT '<' || vf_put(g, '$GRADE.') || '>' FROM (SELECT 'A' AS g UNION ALL
  SELECT 'B' UNION ALL SELECT 'Q');
SELECT '<' || vf_put(1234567.891, 'AMOUNT15.') || '>';
-- built-in names come before the catalogue, user and built-in formats mix
-- in one column
SELECT '<' || vf_put(x, f) || '>' FROM (SELECT 42 AS x, 'AGEGRP.' AS f
  UNION ALL SELECT 0, 'DATE9.' UNION ALL SELECT 10.5, 'AGEGRP.');
-- a bad catalogue is refused and the loaded one stays
SELECT vf_load_catalog('<LIBRARY type="IMPORT" version="1">');
SELECT vf_load_catalog('not a catalogue');
SELECT '<' || vf_put(42, 'AGEGRP.') || '>';
-- a new catalogue replaces the old one, also for a statement prepared
-- before (the shell prepares each line anew, so the change is mid-session)
SELECT vf_load_catalog(replace(readfile('../../examples/cntlout.xml'),
                               'adult', 'grown')) IS NULL;
SELECT '<' || vf_put(42, 'AGEGRP.') || '>';
SELECT vf_load_catalog(NULL) IS NULL;
SELECT vf_put(42, 'AGEGRP.');
SELECT '<' || vf_put(42, 'F4.') || '>';
-- locale names: record numbers, any case; unknown names are errors
SELECT vf_set_locale('en_US'), vf_set_locale('EN_us'), vf_set_locale(''),
       vf_set_locale(NULL);
SELECT vf_set_locale('zz_ZZ');
SELECT vf_set_locale('en_USA');
-- results that depend on the connection's state are not deterministic,
-- and the functions that change it are not usable from the schema
CREATE TABLE g(x, y AS (vf_put(x, 'F5.')));
CREATE VIEW v AS SELECT vf_set_locale('en_US') AS id;
SELECT * FROM v;
