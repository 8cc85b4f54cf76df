-- User-defined formats from a catalogue file and from loaded text.
\pset format unaligned
\pset tuples_only on
\set VERBOSITY terse
\getenv catalog VALFMT_TEST_CATALOG

-- without a catalogue a user format is unknown; built-in names work
SELECT vf_put(42, 'AGEGRP.');
SET valfmt.catalog = :'catalog';
SELECT '<' || vf_put(x, 'AGEGRP.') || '>' FROM (VALUES (5), (42), (70)) AS v(x);
SELECT '<' || vf_put(1234567.891, 'AMOUNT15.') || '>';
-- a character format reads the database's UTF-8 text, whatever follows it
SELECT '<' || vf_put(g, '$GRADE.') || '>' FROM (VALUES ('A'), ('B')) AS v(g);
SELECT count(DISTINCT vf_put(substr('BBBB' || repeat('é', n), 1, 1), '$GRADE.'))
FROM generate_series(1, 50) AS n;

-- a catalogue that cannot be read is an error when a user format needs it
SET valfmt.catalog = '/nonexistent/cntlout.xml';
SELECT vf_put(42, 'AGEGRP.');
SELECT vf_put(0, 'DATE9.');
SELECT vf_load_catalog('<LIBRARY type="IMPORT" version="1">');
SELECT vf_load_catalog(repeat('x', 300));
-- loaded text wins over the file, and serves the session
SELECT vf_load_catalog(pg_read_file(:'catalog'));
SELECT '<' || vf_put(42, 'AGEGRP.') || '>';
-- a failed transaction takes the loaded catalogue back
RESET valfmt.catalog;
BEGIN;
SELECT vf_load_catalog(replace(pg_read_file(:'catalog'), 'adult', 'grown'));
SELECT '<' || vf_put(42, 'AGEGRP.') || '>';
ROLLBACK;
SELECT '<' || vf_put(42, 'AGEGRP.') || '>';

-- naming a server file is for superusers
CREATE ROLE valfmt_plain;
SET ROLE valfmt_plain;
SET valfmt.catalog = '/etc/passwd';
SELECT '<' || vf_put(42, 'AGEGRP.') || '>';
RESET ROLE;
DROP ROLE valfmt_plain;
