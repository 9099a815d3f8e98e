-- Demo rows for the main database. Customers are generated from fixed lists
-- so every build of the demo holds the same data.

CREATE TEMP TABLE demo_rubro (i INTEGER PRIMARY KEY, t TEXT);
INSERT INTO demo_rubro VALUES
  (0, 'Distribuidora'), (1, 'Comercial'), (2, 'Agropecuaria'), (3, 'Transportes'),
  (4, 'Ferretería'), (5, 'Metalúrgica'), (6, 'Textil'), (7, 'Panificadora'),
  (8, 'Constructora'), (9, 'Farmacia'), (10, 'Autopartes'), (11, 'Estudio Contable');
CREATE TEMP TABLE demo_apellido (i INTEGER PRIMARY KEY, t TEXT);
INSERT INTO demo_apellido VALUES
  (0, 'Gómez'), (1, 'Fernández'), (2, 'Rodríguez'), (3, 'López'), (4, 'Martínez'),
  (5, 'González'), (6, 'Pérez'), (7, 'Sánchez'), (8, 'Romero'), (9, 'Díaz'),
  (10, 'Álvarez'), (11, 'Torres'), (12, 'Ruiz'), (13, 'Ramírez'), (14, 'Flores'),
  (15, 'Benítez'), (16, 'Acosta'), (17, 'Medina'), (18, 'Herrera'), (19, 'Castro');
CREATE TEMP TABLE demo_nombre (i INTEGER PRIMARY KEY, t TEXT);
INSERT INTO demo_nombre VALUES
  (0, 'Juan'), (1, 'María'), (2, 'Carlos'), (3, 'Ana'), (4, 'Jorge'), (5, 'Laura'),
  (6, 'Miguel'), (7, 'Silvia'), (8, 'Roberto'), (9, 'Graciela'), (10, 'Luis'),
  (11, 'Claudia'), (12, 'Ricardo'), (13, 'Patricia');
CREATE TEMP TABLE demo_sociedad (i INTEGER PRIMARY KEY, t TEXT);
INSERT INTO demo_sociedad VALUES (0, 'S.A.'), (1, 'S.R.L.'), (2, 'e Hijos'), (3, 'S.A.S.');
CREATE TEMP TABLE demo_ciudad (i INTEGER PRIMARY KEY, t TEXT, p TEXT);
INSERT INTO demo_ciudad VALUES
  (0, 'Rosario', 'Santa Fe'), (1, 'Córdoba', 'Córdoba'), (2, 'Mendoza', 'Mendoza'),
  (3, 'La Plata', 'Buenos Aires'), (4, 'Mar del Plata', 'Buenos Aires'),
  (5, 'San Miguel de Tucumán', 'Tucumán'), (6, 'Salta', 'Salta'), (7, 'Santa Fe', 'Santa Fe'),
  (8, 'Neuquén', 'Neuquén'), (9, 'Bahía Blanca', 'Buenos Aires'), (10, 'Paraná', 'Entre Ríos'),
  (11, 'Posadas', 'Misiones'), (12, 'Rafaela', 'Santa Fe'), (13, 'Río Cuarto', 'Córdoba'),
  (14, 'Venado Tuerto', 'Santa Fe');
CREATE TEMP TABLE demo_calle (i INTEGER PRIMARY KEY, t TEXT);
INSERT INTO demo_calle VALUES
  (0, 'Av. San Martín'), (1, 'Belgrano'), (2, 'Av. Rivadavia'), (3, 'Sarmiento'),
  (4, 'Mitre'), (5, '9 de Julio'), (6, 'Av. Pellegrini'), (7, 'Urquiza'), (8, 'Moreno');
-- IVA condition as the suite stores it: "1" and "   1" are registered payers.
CREATE TEMP TABLE demo_iva (i INTEGER PRIMARY KEY, t TEXT);
INSERT INTO demo_iva VALUES
  (0, '1'), (1, '1'), (2, '   1'), (3, '1'), (4, '4'), (5, '   1'), (6, '5'), (7, '1'),
  (8, '3'), (9, '   4');

CREATE TEMP TABLE demo_cliente AS
WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 230)
SELECT x,
       '1103' || printf('%04d', x) AS codigo,
       r.t || ' ' || a.t || ' ' || s.t AS razon,
       nb.t || ' ' || a2.t AS contacto,
       (CASE WHEN x % 3 = 0 THEN '33-' ELSE '30-' END) || printf('%08d', 70000000 + x * 3791)
         || '-' || (x * 7 % 10) AS cuit,
       i.t AS iva,
       ca.t || ' ' || (100 + x * 37 % 3900) AS domicilio,
       c.t AS localidad, c.p AS provincia,
       '0341-4' || printf('%06d', 100000 + x * 5417 % 900000) AS telefono,
       CASE WHEN x % 25 = 0 THEN 1 ELSE 0 END AS baja
FROM n
JOIN demo_rubro r ON r.i = (x - 1) % 12
JOIN demo_apellido a ON a.i = ((x - 1) / 12) % 20
JOIN demo_sociedad s ON s.i = x % 4
JOIN demo_nombre nb ON nb.i = x % 14
JOIN demo_apellido a2 ON a2.i = (x * 3) % 20
JOIN demo_iva i ON i.i = x % 10
JOIN demo_ciudad c ON c.i = x % 15
JOIN demo_calle ca ON ca.i = x % 9;

-- Chart of accounts: codes grow by two digits per level.
INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, TIPO, NIVEL, IMPUTABLE, CONFIDENCIAL) VALUES
  ('1', 'ACTIVO', 'A', 1, 0, 0),
  ('11', 'ACTIVO CORRIENTE', 'A', 2, 0, 0),
  ('1101', 'CAJA Y BANCOS', 'A', 3, 0, 0),
  ('110101', 'Caja Central', 'A', 4, 1, 0),
  ('110102', 'Banco de la Nación Argentina Cta. Cte.', 'A', 4, 1, 0),
  ('110103', 'Banco de Galicia Cta. Cte.', 'A', 4, 1, 0),
  ('110104', 'Caja de Socios', 'A', 4, 1, 1),
  ('1102', 'INVERSIONES TEMPORARIAS', 'A', 3, 0, 0),
  ('110201', 'Plazo Fijo en Pesos', 'A', 4, 1, 0),
  ('1103', 'DEUDORES POR VENTAS', 'A', 3, 0, 0),
  ('1104', 'OTROS CRÉDITOS', 'A', 3, 0, 0),
  ('110401', 'IVA Crédito Fiscal', 'A', 4, 1, 0),
  ('110402', 'Percepciones de IVA', 'A', 4, 1, 0),
  ('110403', 'Anticipos de Ingresos Brutos', 'A', 4, 1, 0),
  ('1105', 'BIENES DE CAMBIO', 'A', 3, 0, 0),
  ('110501', 'Mercaderías de Reventa', 'A', 4, 1, 0),
  ('12', 'ACTIVO NO CORRIENTE', 'A', 2, 0, 0),
  ('1201', 'BIENES DE USO', 'A', 3, 0, 0),
  ('120101', 'Rodados', 'A', 4, 1, 0),
  ('120102', 'Muebles y Útiles', 'A', 4, 1, 0),
  ('120103', 'Instalaciones', 'A', 4, 1, 0),
  ('2', 'PASIVO', 'P', 1, 0, 0),
  ('21', 'PASIVO CORRIENTE', 'P', 2, 0, 0),
  ('2101', 'PROVEEDORES', 'P', 3, 0, 0),
  ('2102', 'DEUDAS FISCALES', 'P', 3, 0, 0),
  ('210201', 'IVA Débito Fiscal', 'P', 4, 1, 0),
  ('210202', 'Ingresos Brutos a Pagar', 'P', 4, 1, 0),
  ('210203', 'Retenciones de Ganancias a Depositar', 'P', 4, 1, 0),
  ('2103', 'DEUDAS SOCIALES', 'P', 3, 0, 0),
  ('210301', 'Sueldos a Pagar', 'P', 4, 1, 0),
  ('210302', 'Cargas Sociales a Pagar', 'P', 4, 1, 0),
  ('3', 'PATRIMONIO NETO', 'N', 1, 0, 0),
  ('31', 'CAPITAL', 'N', 2, 0, 0),
  ('3101', 'Capital Suscripto', 'N', 3, 1, 0),
  ('3102', 'Cuentas Particulares de Socios', 'N', 3, 1, 1),
  ('4', 'INGRESOS', 'R', 1, 0, 0),
  ('41', 'VENTAS', 'R', 2, 0, 0),
  ('4101', 'Ventas de Mercaderías', 'R', 3, 1, 0),
  ('4102', 'Ventas Exentas', 'R', 3, 1, 0),
  ('5', 'EGRESOS', 'R', 1, 0, 0),
  ('51', 'COSTO DE VENTAS', 'R', 2, 0, 0),
  ('5101', 'Costo de Mercaderías Vendidas', 'R', 3, 1, 0),
  ('52', 'GASTOS DE ADMINISTRACIÓN', 'R', 2, 0, 0),
  ('5201', 'Sueldos y Jornales', 'R', 3, 1, 0),
  ('5202', 'Honorarios Profesionales', 'R', 3, 1, 0),
  ('5203', 'Alquileres', 'R', 3, 1, 0),
  ('5204', 'Retiros de Socios', 'R', 3, 1, 1);

-- Customers 226 to 230 have no account yet, as happens in the field.
INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, TIPO, NIVEL, IMPUTABLE)
  SELECT codigo, razon, 'A', 4, 1 FROM demo_cliente WHERE x <= 225;
INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO, CUIT, IVA, DOMICILIO, LOCALIDAD,
                         PROVINCIA, TELEFONO, Dada_De_Baja)
  SELECT codigo, razon, contacto, cuit, iva, domicilio, localidad, provincia, telefono, baja
  FROM demo_cliente;
INSERT INTO MA_CONTACTOS (CODIGO, Nombre_y_Apellido, Domicilio, Localidad, Telefono)
  SELECT codigo, contacto, domicilio, localidad, telefono FROM demo_cliente WHERE x % 3 = 1;

CREATE TEMP TABLE demo_proveedor AS
WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 40)
SELECT x,
       '2101' || printf('%04d', x) AS codigo,
       r.t || ' ' || a.t || ' ' || s.t AS razon,
       nb.t || ' ' || a.t AS contacto,
       '30-' || printf('%08d', 60000000 + x * 9173) || '-' || (x * 3 % 10) AS cuit,
       CASE WHEN x % 4 = 0 THEN '5' ELSE '1' END AS iva,
       ca.t || ' ' || (50 + x * 53 % 2000) AS domicilio,
       c.t AS localidad, c.p AS provincia
FROM n
JOIN demo_rubro r ON r.i = (x * 5) % 12
JOIN demo_apellido a ON a.i = (x * 7) % 20
JOIN demo_sociedad s ON s.i = (x + 1) % 4
JOIN demo_nombre nb ON nb.i = (x * 5) % 14
JOIN demo_ciudad c ON c.i = (x * 2) % 15
JOIN demo_calle ca ON ca.i = (x * 4) % 9;
INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, TIPO, NIVEL, IMPUTABLE)
  SELECT codigo, razon, 'P', 4, 1 FROM demo_proveedor;
INSERT INTO VT_PROVEEDORES (CODIGO, RAZON_SOCIAL, CONTACTO, CUIT, IVA, DOMICILIO, LOCALIDAD,
                            PROVINCIA)
  SELECT codigo, razon, contacto, cuit, iva, domicilio, localidad, provincia FROM demo_proveedor;

-- The stored zero-rate list: key "FEROLIN_" + code + one blank, value = comment.
INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES
  ('FEROLIN', 'FEROLIN_11030001 ', 'Alta según nota del 12/11/2019'),
  ('FEROLIN', 'FEROLIN_11030002 ', 'Exportación de servicios'),
  ('FEROLIN', 'FEROLIN_11030003 ', ''),
  ('FEROLIN', 'FEROLIN_11030010 ', 'Revisar certificado'),
  ('FEROLIN', 'FEROLIN_11030012 ', NULL),
  ('FEROLIN', 'FEROLIN_11030021 ', 'Canasta básica'),
  ('FEROLIN', 'FEROLIN_11030033 ', 'Rev 2');

INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES
  ('General', 'SS_CONFIDENCIALIDAD', 'SI'),
  ('General', 'CONDIVAEMPRESA', '1'),
  ('General', 'TopConsArt', '1000'),
  ('General', 'Top_Default', '1000'),
  ('General', 'MostrarStockenConsultas', 'SI'),
  ('General', 'Stk_Nivel1', '32768'),
  ('General', 'Stk_Nivel2', '8421376'),
  ('General', 'Stk_Nivel3', '33023'),
  ('General', 'Stk_Nivel4', '255'),
  ('General', 'TituloClientes', 'Clientes'),
  ('General', 'TituloProveedores', 'Proveedores'),
  ('Ventas', 'NOM_PCLASE1', 'Lista Mayorista'),
  ('Ventas', 'NOM_PCLASE2', 'Lista Minorista');

INSERT INTO TA_USUARIOS (Nombre, Descripcion, Administrador, UNegocio, verproforma) VALUES
  ('SUPERVISOR', 'Supervisor del sistema', 1, '   1', 1),
  ('OPERADOR', 'Operador de ventas', 0, '   1', 0),
  ('CAJERO', 'Cajero sucursal Rosario', 0, '   2', 0);

INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES
  ('0101', 'QUADREL', 'Menu Principal'),
  ('0201', 'V_MA_CLIENTES', 'Maestro de Clientes'),
  ('0202', 'V_MA_ARTICULOS', 'Maestro de Articulos'),
  ('0305', 'FEROLIN', 'Decreto 603/2019 - Tasa Cero'),
  ('0306', 'V_TA_TABLAS', 'Tablas Generales');
INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES
  ('SUPERVISOR', '0101'), ('SUPERVISOR', '0201'), ('SUPERVISOR', '0202'),
  ('SUPERVISOR', '0305'), ('SUPERVISOR', '0306'),
  ('OPERADOR', '0101'), ('OPERADOR', '0305'),
  ('CAJERO', '0101');

INSERT INTO TA_UNIDADNEGOCIO (Codigo, Descripcion) VALUES
  ('   1', 'Casa Central'), ('   2', 'Sucursal Rosario');
INSERT INTO TA_DEPOSITO (IdDeposito, Descripcion, UnidadNegocio, CONFIDENCIAL) VALUES
  ('1', 'Depósito Central', '   1', 0),
  ('2', 'Depósito Sucursal Rosario', '   2', 0),
  ('9', 'Depósito en Consignación', '   1', 1);
INSERT INTO TA_CAJAS (IdCaja, Descripcion, CUENTA, CONFIDENCIAL) VALUES
  ('1', 'Caja Central', '110101', 0),
  ('2', 'Caja Sucursal Rosario', '110101', 0),
  ('9', 'Caja de Socios', '110104', 1);
INSERT INTO TA_FAMILIAS (IdFamilia, Descripcion, CONFIDENCIAL) VALUES
  ('01', 'ALMACÉN', 0), ('0101', 'Bebidas', 0), ('0102', 'Lácteos', 0),
  ('0103', 'Panificados', 0),
  ('02', 'FERRETERÍA', 0), ('0201', 'Herramientas Manuales', 0),
  ('0202', 'Bulonería', 0),
  ('03', 'LIMPIEZA', 0), ('0301', 'Detergentes', 0),
  ('09', 'USO INTERNO', 1);
INSERT INTO TA_VENDEDORES (IDVENDEDOR, NOMBRE) VALUES
  ('1', 'Martín Gómez'), ('2', 'Lucía Fernández'), ('3', 'Diego Romero');
INSERT INTO TA_TECNICOS (IDTECNICO, NOMBRE) VALUES
  ('1', 'Pablo Acosta'), ('2', 'Sergio Medina');
INSERT INTO MA_MANTENIMIENTOS (CODIGO, DESCRIPCION) VALUES
  ('M01', 'Service de autoelevador'), ('M02', 'Mantenimiento de cámaras de frío');
INSERT INTO MA_POSICIONES (IDPOSICION, DESCRIPCION) VALUES
  ('22', 'Productos de la molinería'), ('2201', 'Harina de trigo'),
  ('2202', 'Sémola'), ('84', 'Máquinas y aparatos mecánicos'),
  ('8467', 'Herramientas neumáticas');
INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES
  ('01', 'Administración'), ('0101', 'Contaduría'), ('0102', 'Tesorería'),
  ('02', 'Comercialización'), ('0201', 'Ventas Mostrador'), ('0202', 'Ventas Mayoristas');

INSERT INTO MA_ARTICULOS (IDARTICULO, DESCRIPCION, IdFamilia, SUSPENDIDO, PUNTOPEDIDO, PRECIO1,
                          PRECIO2) VALUES
  ('BEB001', 'Agua mineral 1,5 l', '0101', 0, 48, 310.5, 355),
  ('BEB002', 'Gaseosa cola 2,25 l', '0101', 0, 60, 890, 1020),
  ('BEB003', 'Jugo de naranja 1 l', '0101', 0, 0, 640, 730),
  ('LAC001', 'Leche entera sachet 1 l', '0102', 0, 120, 420, 480),
  ('LAC002', 'Yogur bebible frutilla 1 l', '0102', 0, 24, 780, 890),
  ('LAC003', 'Queso cremoso x kg', '0102', 1, 0, 4200, 4800),
  ('PAN001', 'Pan francés x kg', '0103', 0, 0, 1100, 1250),
  ('HER001', 'Martillo carpintero 27 mm', '0201', 0, 6, 5400, 6200),
  ('HER002', 'Destornillador Phillips 6x150', '0201', 0, 10, 1900, 2200),
  ('BUL001', 'Tornillo autoperforante 14x1 (x100)', '0202', 0, 20, 2600, 3000),
  ('LIM001', 'Detergente concentrado 750 ml', '0301', 0, 36, 720, 830),
  ('LIM002', 'Lavandina 2 l', '0301', 0, 40, 560, 640);
INSERT INTO MV_STOCK (IdArticulo, IdDeposito, Cantidad) VALUES
  ('BEB001', '1', 150), ('BEB001', '2', 12), ('BEB002', '1', 60), ('BEB003', '1', 25),
  ('LAC001', '1', 80), ('LAC002', '2', 30), ('HER001', '1', 2), ('HER002', '1', 18),
  ('BUL001', '2', 20), ('LIM001', '1', 0), ('LIM002', '1', 75);

INSERT INTO MV_ASIENTOS (EJERCICIO, NUMERO, FECHA, CUENTA, DETALLE, IMPORTE) VALUES
  (2019, 1, '2019-12-02 00:00:00', '11030001', 'Factura A 0001-00001234', 121000),
  (2019, 1, '2019-12-02 00:00:00', '4101', 'Factura A 0001-00001234', -100000),
  (2019, 1, '2019-12-02 00:00:00', '210201', 'Factura A 0001-00001234', -21000),
  (2019, 2, '2019-12-05 00:00:00', '3102', 'Retiro de socio', 50000),
  (2019, 2, '2019-12-05 00:00:00', '110104', 'Retiro de socio', -50000);
INSERT INTO AC_CUENTASDIARIO (IdDiario, CUENTA, DESCRIPCION) VALUES
  ('VTA', '4101', 'Ventas de Mercaderías'), ('VTA', '210201', 'IVA Débito Fiscal'),
  ('CAJ', '110101', 'Caja Central'), ('CAJ', '110104', 'Caja de Socios');
INSERT INTO AC_CUENTASDIARIO_CCOSTO (IdDiario, CUENTA, CCOSTO, PORCENTAJE) VALUES
  ('VTA', '4101', '0201', 60), ('VTA', '4101', '0202', 40),
  ('CAJ', '110104', '01', 100);

DROP TABLE demo_cliente;
DROP TABLE demo_proveedor;
DROP TABLE demo_rubro;
DROP TABLE demo_apellido;
DROP TABLE demo_nombre;
DROP TABLE demo_sociedad;
DROP TABLE demo_ciudad;
DROP TABLE demo_calle;
DROP TABLE demo_iva;
