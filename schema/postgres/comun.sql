-- Shared by every PostgreSQL database of the suite; run before its own DDL.
-- Text keys compare without regard to case, as on the suite's server: text
-- columns are CITEXT. Their lengths are kept by CHECK constraints named
-- len_<table>_<column> whose function raises SQLSTATE 22001, the state a
-- too-long VARCHAR gives, so the client reports "value too long" (8152).
-- LTRIM and RTRIM keep CITEXT, so a trimmed key still compares without case
-- and the expression index serves the code check.

CREATE EXTENSION IF NOT EXISTS citext;

CREATE OR REPLACE FUNCTION ferolin_largo(valor TEXT, maximo INTEGER) RETURNS BOOLEAN
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
  IF length(valor) > maximo THEN
    RAISE EXCEPTION 'value too long for type character varying(%)', maximo
      USING ERRCODE = '22001';
  END IF;
  RETURN TRUE;
END
$$;

CREATE OR REPLACE FUNCTION ltrim(valor CITEXT) RETURNS CITEXT
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT pg_catalog.ltrim(valor::TEXT)::CITEXT $$;
CREATE OR REPLACE FUNCTION rtrim(valor CITEXT) RETURNS CITEXT
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT pg_catalog.rtrim(valor::TEXT)::CITEXT $$;
