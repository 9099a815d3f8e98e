-- Statistics database KV_ESTADISTICAS, PostgreSQL form: its own configuration table.
-- Run after comun.sql (case-insensitive text, length checks, LTRIM/RTRIM).

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
