-- A forced parallel plan gives the same results as the serial one, with
-- built-in and user formats (the loaded catalogue reaches the workers).
\pset format unaligned
\pset tuples_only on
\getenv catalog VALFMT_TEST_CATALOG
SELECT vf_load_catalog(pg_read_file(:'catalog'));
CREATE TABLE vf_rows AS
  SELECT i, i * 1.25 - 5000 AS x, date '1990-01-01' + i AS d,
         (i % 90)::float8 AS age
  FROM generate_series(1, 20000) AS i;
ANALYZE vf_rows;
CREATE VIEW vf_shown AS
  SELECT i, vf_put(x, 'COMMA12.2') AS a, vf_put(d, 'DATE9.') AS b,
         vf_put(age, 'AGEGRP.') AS c,
         vf_input_date(vf_put(d, 'YYMMDD10.'), 'YYMMDD10.') AS e
  FROM vf_rows;
SET max_parallel_workers_per_gather = 0;
SELECT md5(string_agg(concat_ws('|', i, a, b, c, e), ',' ORDER BY i)) AS serial
FROM vf_shown \gset
SET parallel_setup_cost = 0;
SET parallel_tuple_cost = 0;
SET min_parallel_table_scan_size = 0;
SET max_parallel_workers_per_gather = 2;
EXPLAIN (COSTS OFF)
  SELECT md5(string_agg(concat_ws('|', i, a, b, c, e), ',' ORDER BY i))
  FROM vf_shown;
SELECT md5(string_agg(concat_ws('|', i, a, b, c, e), ',' ORDER BY i)) = :'serial'
FROM vf_shown;
-- spot checks against values worked out by hand
SELECT '<' || a || '>', b, '<' || c || '>', e FROM vf_shown
WHERE i IN (1, 4000, 19999) ORDER BY i;
DROP VIEW vf_shown;
DROP TABLE vf_rows;
