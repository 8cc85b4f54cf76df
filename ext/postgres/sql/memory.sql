-- (run from the folder that holds sql/, as pg_regress does)
-- Nothing leaks across queries: the same work, failures included, repeated
-- in one backend leaves the backend's memory contexts as they were and its
-- private memory (which the library's own allocations live in) within a
-- small margin, and every round gives correct results.
\pset format unaligned
\pset tuples_only on
\set VERBOSITY terse
\getenv catalog VALFMT_TEST_CATALOG
SELECT vf_load_catalog(pg_read_file(:'catalog'));
CREATE TEMP TABLE vf_memory (round int, contexts int8, anon_kb int8);
\set round 1
\ir sql/memory_round.inc
\set round 2
\ir sql/memory_round.inc
\set round 3
\ir sql/memory_round.inc
\set round 4
\ir sql/memory_round.inc
\set round 5
\ir sql/memory_round.inc
\set round 6
\ir sql/memory_round.inc
-- rounds 1 and 2 warm the caches of the backend; later rounds add nothing
SELECT 'contexts grew by ' || max(contexts) - min(contexts) || ' bytes'
FROM vf_memory WHERE round >= 3;
SELECT 'private memory grew by less than 1 MB: ' ||
       ((SELECT anon_kb FROM vf_memory WHERE round = 6) -
        (SELECT anon_kb FROM vf_memory WHERE round = 3) < 1024)
FROM vf_memory WHERE round = 6;
-- and the backend still answers
SELECT vf_put(0, 'DATE9.'), vf_put(42, 'AGEGRP.'), vf_input('1,234', 'COMMA5.');
