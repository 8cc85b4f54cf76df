-- Rendering values of every SQL type with built-in formats.  Results are
-- shown between < and > so that blanks count.
CREATE EXTENSION valfmt;
\pset format unaligned
\pset tuples_only on

-- numbers: double precision, integers (through double precision), numeric
SELECT '<' || vf_put(1234.567::float8, 'F10.2') || '>';
SELECT '<' || vf_put(42, 'F8.2') || '>';
SELECT '<' || vf_put(-1234.5::float8, 'COMMA10.2') || '>';
SELECT '<' || vf_put(1234567.891, 'COMMA15.2') || '>';
SELECT '<' || vf_put(1234.5::numeric, 'DOLLAR10.2') || '>';
SELECT '<' || vf_put(1/3::float8, 'best12.') || '>';
SELECT '<' || vf_put(123456, 'F3.') || '>';
-- the format text as hosts write it: any case, blanks around, default width
SELECT '<' || vf_put(7, '  f4.1 ') || '>';
SELECT '<' || vf_put(0, 'DATE.') || '>';

-- dates count days from 1 January 1960
SELECT '<' || vf_put(date '1960-01-01', 'DATE9.') || '>';
SELECT '<' || vf_put(date '1959-12-31', 'DATE9.') || '>';
SELECT '<' || vf_put(date '2022-12-21', 'DATE7.') || '>';
SELECT '<' || vf_put(date '2024-02-29', 'YYMMDD10.') || '>';
SELECT '<' || vf_put(date '2024-02-29', 'MMDDYY10.') || '>';
SELECT '<' || vf_put(date '2024-02-29', 'JULIAN7.') || '>';
SELECT '<' || vf_put(date '2024-02-29', 'WEEKDAY1.') || '>';
SELECT '<' || vf_put(date '2024-02-29', 'MONYY7.') || '>';
-- before 1582 the calendar has no days: an error status, an SQL error
SELECT '<' || vf_put(date '1500-01-01', 'DATE9.') || '>';

-- timestamps count seconds from 1 January 1960, times from midnight
SELECT '<' || vf_put(timestamp '2022-12-21 13:45:30', 'DATETIME19.') || '>';
SELECT '<' || vf_put(timestamp '2022-12-21 13:45:30.25', 'DATETIME21.2') || '>';
SELECT '<' || vf_put(timestamp '1959-12-31 23:59:59', 'DATETIME18.') || '>';
SELECT '<' || vf_put(time '13:45:30', 'TIME8.') || '>';
SELECT '<' || vf_put(time '01:02:03.456', 'TIME11.2') || '>';

-- character formats: text in and out in the database's encoding
SELECT '<' || vf_put('abc', '$CHAR5.') || '>';
SELECT '<' || vf_put('abc', '$UPCASE5.') || '>';
SELECT '<' || vf_put('héllo', '$CHAR7.') || '>';
SELECT '<' || vf_put('5€', '$CHAR3.') || '>';
SELECT '<' || vf_put('日本語', '$CHAR4.') || '>';
SELECT '<' || vf_put('AB', '$HEX4.') || '>';
SELECT '<' || vf_put('date  ', '$IS-INTRINSIC3.') || '>';

-- NULL values give NULL
SELECT vf_put(NULL::float8, 'F8.2') IS NULL,
       vf_put(NULL::date, 'DATE9.') IS NULL,
       vf_put(NULL::text, '$CHAR3.') IS NULL,
       vf_put(NULL::numeric, 'F8.') IS NULL;

-- one call site with a format column that changes from row to row
SELECT '<' || vf_put(x, f) || '>'
FROM (VALUES (0, 'DATE9.'), (1.5, 'F5.2'), (366, 'DATE9.'), (2.25, 'F6.3'),
             (0, 'YYMMDD8.'), (0, 'MMDDYY8.'), (1, 'DATE9.')) AS v(x, f);
-- a NaN is a value, not NULL: shown as the standard missing value
SELECT '<' || vf_put('NaN'::float8, 'F8.2') || '>',
       '<' || vf_put('NaN'::numeric, 'F5.') || '>',
       '<' || vf_put('NaN'::float8, 'DATE9.') || '>';
-- a format text padded far past its name is still a format text
SELECT '<' || vf_put(x, rpad('  F3.', 100)) || '>' FROM (VALUES (1), (22)) AS v(x);
