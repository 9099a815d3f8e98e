-- Statistics database KV_ESTADISTICAS, PostgreSQL form: its own configuration table.
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

CREATE TABLE TA_CONFIGURACION (
  GRUPO CITEXT NOT NULL DEFAULT '',
  CLAVE CITEXT NOT NULL,
  VALOR CITEXT NULL,
  ValorAux CITEXT NULL,
  PoliticaNegocio SMALLINT NULL DEFAULT 0,
  CONSTRAINT pk_ta_configuracion PRIMARY KEY (GRUPO, CLAVE),
  CONSTRAINT len_TA_CONFIGURACION_GRUPO CHECK (ferolin_largo(GRUPO, 50)),
  CONSTRAINT len_TA_CONFIGURACION_CLAVE CHECK (ferolin_largo(CLAVE, 50)),
  CONSTRAINT len_TA_CONFIGURACION_VALOR CHECK (ferolin_largo(VALOR, 255)),
  CONSTRAINT len_TA_CONFIGURACION_ValorAux CHECK (ferolin_largo(ValorAux, 255))
);
CREATE INDEX ix_ta_configuracion_clave ON TA_CONFIGURACION(CLAVE);
