-- Reading text with informats into numbers, text, dates and timestamps.
\pset format unaligned
\pset tuples_only on

SELECT vf_input('1,234.5', 'COMMA10.');
SELECT vf_input('(1,234)', 'COMMA10.2');
SELECT vf_input('12.5', 'F.');
SELECT vf_input('  42', 'F4.');
SELECT vf_input('7777799999', 'F5.');
-- a missing value reads as NULL, and NULL stays NULL
SELECT vf_input('.', 'F1.') IS NULL, vf_input(NULL, 'F8.') IS NULL;
-- times read as seconds from midnight
SELECT vf_input('13:45:30', 'TIME8.');

SELECT vf_input_date('21DEC2022', 'DATE9.');
SELECT vf_input_date('21DEC2022', '@DATE9.');
SELECT vf_input_date('2022-12-21', 'YYMMDD10.');
SELECT vf_input_date('01JAN1960', 'date9.');
SELECT vf_input_timestamp('21DEC2022:13:45:30', 'DATETIME18.');
SELECT vf_input_timestamp('31DEC1959:23:59:59', 'DATETIME.');

SELECT '<' || vf_input_char('abc', '$CHAR3.') || '>';
SELECT '<' || vf_input_char('abc', '$UPCASE3.') || '>';
SELECT '<' || vf_input_char('héllo', '$CHAR5.') || '>';
-- without a width an informat reads the whole value, up to its limit
SELECT length(vf_input_char(repeat('x', 32767), '$CHAR.'));
SELECT vf_input('123456789012345', 'F.'), vf_input_date('21DEC2022', 'DATE.');

-- every day from 1900 to 2100 shown with DATE9. reads back as itself
SELECT count(*) FILTER (WHERE vf_input_date(vf_put(d, 'DATE9.'), 'DATE9.') <> d),
       count(*)
FROM generate_series(date '1900-01-01', date '2100-12-31', '1 day') AS g(t),
     LATERAL (SELECT t::date AS d) AS x;
