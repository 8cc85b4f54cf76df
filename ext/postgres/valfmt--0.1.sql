-- valfmt: value formats and informats for SQL
\echo Use "CREATE EXTENSION valfmt" to load this file. \quit

-- Every function reads the settings valfmt.locale and valfmt.catalog (user
-- formats and locale formats), so none is IMMUTABLE.  A NULL value gives
-- NULL; a NULL format text is an error, so none is STRICT.

CREATE FUNCTION vf_put(double precision, text) RETURNS text
  AS 'MODULE_PATHNAME', 'vf_put_float8'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;
CREATE FUNCTION vf_put(numeric, text) RETURNS text
  AS 'MODULE_PATHNAME', 'vf_put_numeric'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;
CREATE FUNCTION vf_put(text, text) RETURNS text
  AS 'MODULE_PATHNAME', 'vf_put_text'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;
CREATE FUNCTION vf_put(date, text) RETURNS text
  AS 'MODULE_PATHNAME', 'vf_put_date'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;
CREATE FUNCTION vf_put(timestamp, text) RETURNS text
  AS 'MODULE_PATHNAME', 'vf_put_timestamp'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;
CREATE FUNCTION vf_put(time, text) RETURNS text
  AS 'MODULE_PATHNAME', 'vf_put_time'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;

CREATE FUNCTION vf_input(text, text) RETURNS double precision
  AS 'MODULE_PATHNAME', 'vf_input_float8'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;
CREATE FUNCTION vf_input_char(text, text) RETURNS text
  AS 'MODULE_PATHNAME', 'vf_input_char'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;
CREATE FUNCTION vf_input_date(text, text) RETURNS date
  AS 'MODULE_PATHNAME', 'vf_input_date'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;
CREATE FUNCTION vf_input_timestamp(text, text) RETURNS timestamp
  AS 'MODULE_PATHNAME', 'vf_input_timestamp'
  LANGUAGE C STABLE PARALLEL SAFE CALLED ON NULL INPUT;

-- Loads an XML format catalogue for the session (kept in a setting, so a
-- failed transaction takes it back and parallel workers see it).
CREATE FUNCTION vf_load_catalog(xml text) RETURNS void
  AS 'MODULE_PATHNAME', 'vf_load_catalog'
  LANGUAGE C VOLATILE PARALLEL UNSAFE STRICT;
