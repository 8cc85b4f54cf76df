-- Bad formats and bad input raise SQL errors; the backend keeps serving.
\pset format unaligned
\pset tuples_only on
\set VERBOSITY terse

-- format texts that name nothing usable
SELECT vf_put(1, 'NOSUCH8.');
SELECT vf_put(1, '');
SELECT vf_put(1, '   ');
SELECT vf_put(1, NULL);
SELECT vf_put(NULL::float8, NULL);
SELECT vf_put(1, 'F99999.2');
SELECT vf_put(1, 'F999999.2');
SELECT vf_put(1, 'F8.40');
SELECT vf_put(1, 'F8.2.1');
SELECT vf_put(1, repeat('F', 1000000));
SELECT vf_input('x', 'AFRDFDE7.');
SELECT vf_input('1', 'NOSUCH.');
-- a format of the wrong kind for the value or the function
SELECT vf_put(1, '$CHAR8.');
SELECT vf_put('x', 'F8.');
SELECT vf_put(1, '@DATE9.');
SELECT vf_input('abc', '$CHAR3.');
SELECT vf_input_char('1', 'F1.');
-- values a format or an informat cannot take
SELECT vf_input('abc', 'F3.');
SELECT vf_input('1(2)', 'COMMA4.');
SELECT vf_input_char('日本', '$CHAR2.');
SELECT vf_put(1, 'PD4.');
SELECT vf_put(date 'infinity', 'DATE9.');
SELECT vf_put(timestamp '-infinity', 'DATETIME19.');
SELECT vf_input_date('1e300', 'F10.');
-- without a width, a text longer than the informat reads is refused, not
-- read in part (32 characters for F, 32767 for $CHAR)
SELECT vf_input(repeat('1', 33), 'F.');
SELECT vf_input_char(repeat('x', 3000000), '$CHAR.');

-- the same backend still answers, with the same call site as before
SELECT vf_put(x, f) FROM (VALUES (0, 'DATE9.'), (0, 'NOSUCH.')) AS v(x, f);
SELECT vf_put(x, f) FROM (VALUES (0, 'DATE9.'), (1, 'F3.')) AS v(x, f);
