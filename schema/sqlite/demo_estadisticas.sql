-- Demo rows for the statistics database: the command time-out of the main connection.
INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, ValorAux, PoliticaNegocio) VALUES
  ('BaseDeDatos', 'TIMEOUT', '120', NULL, 0);
