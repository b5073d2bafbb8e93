-- Company database: the suite's tables this module reads and writes, in SQL Server's terms.
SET NOCOUNT ON
GO
CREATE TABLE dbo.MA_CUENTAS (
    Codigo varchar(20) NOT NULL PRIMARY KEY,
    Descripcion varchar(60) NOT NULL,
    CodigoOpcional varchar(20) NULL,
    CC_DIST varchar(4) NULL,
    TITULO bit NOT NULL CONSTRAINT DF_MA_CUENTAS_TITULO DEFAULT (0),
    Nivel int NOT NULL CONSTRAINT DF_MA_CUENTAS_Nivel DEFAULT (1),
    Confidencial bit NOT NULL CONSTRAINT DF_MA_CUENTAS_Confidencial DEFAULT (0)
)
GO
CREATE INDEX IX_MA_CUENTAS_CC_DIST ON MA_CUENTAS (CC_DIST, Codigo)
CREATE INDEX IX_MA_CUENTAS_CodigoOpcional ON MA_CUENTAS (CodigoOpcional)
GO
CREATE TABLE dbo.TA_CCOSTO (
    CODIGO varchar(4) NOT NULL PRIMARY KEY,
    DESCRIPCION varchar(60) NOT NULL
)
GO
CREATE TABLE dbo.MA_CUENTAS_CCDIST (
    ID int IDENTITY(1,1) NOT NULL,
    CODIGO varchar(4) NOT NULL,
    NOMBRE varchar(60) NULL,
    CONCEPTO varchar(60) NULL,
    CCOSTO varchar(4) NOT NULL,
    PORCENTAJE numeric(18,4) NOT NULL CONSTRAINT DF_MA_CUENTAS_CCDIST_PORCENTAJE DEFAULT (0),
    PIDECONFIRMACION int NULL,
    CONSTRAINT PK_MA_CUENTAS_CCDIST PRIMARY KEY CLUSTERED (ID)
)
GO
CREATE INDEX IX_MA_CUENTAS_CCDIST_CODIGO ON MA_CUENTAS_CCDIST (CODIGO)
GO
CREATE TABLE dbo.TA_CONFIGURACION (
    ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    Grupo varchar(30) NULL,
    Clave varchar(50) NOT NULL,
    Valor varchar(255) NULL,
    valoraux varchar(255) NULL,
    PoliticaNegocio bit NOT NULL CONSTRAINT DF_TA_CONFIGURACION_PoliticaNegocio DEFAULT (0)
)
GO
CREATE TABLE dbo.TA_MENU (
    Clave varchar(20) NOT NULL PRIMARY KEY,
    Proceso varchar(255) NULL,
    Nombre varchar(60) NULL
)
GO
CREATE TABLE dbo.TA_TAREAS (
    USUARIO varchar(30) NOT NULL,
    TAREA varchar(20) NOT NULL,
    CONSTRAINT PK_TA_TAREAS PRIMARY KEY (USUARIO, TAREA)
)
GO
CREATE TABLE dbo.Control_Acceso (
    ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    Maquina varchar(50) NULL,
    Usuario varchar(50) NULL,
    Formulario varchar(50) NULL,
    Tarea varchar(60) NULL,
    Ingreso datetime NULL,
    NombreUsuario varchar(30) NULL
)
GO
CREATE TABLE dbo.ta_usuarios (
    nombre varchar(30) NOT NULL PRIMARY KEY,
    clave varchar(30) NULL,
    Administrador int NOT NULL CONSTRAINT DF_ta_usuarios_Administrador DEFAULT (0),
    UNegocio varchar(4) NULL
)
GO
CREATE TABLE dbo.TA_FAMILIAS (
    IdFamilia varchar(10) NOT NULL PRIMARY KEY,
    Descripcion varchar(60) NOT NULL,
    Confidencial bit NOT NULL CONSTRAINT DF_TA_FAMILIAS_Confidencial DEFAULT (0)
)
GO
CREATE TABLE dbo.TA_DEPOSITO (
    IdDeposito varchar(4) NOT NULL PRIMARY KEY,
    Descripcion varchar(60) NOT NULL,
    Unidad varchar(4) NULL,
    Confidencial bit NOT NULL CONSTRAINT DF_TA_DEPOSITO_Confidencial DEFAULT (0)
)
GO
CREATE TABLE dbo.TA_CAJAS (
    IdCaja varchar(4) NOT NULL PRIMARY KEY,
    Descripcion varchar(60) NOT NULL,
    Confidencial bit NOT NULL CONSTRAINT DF_TA_CAJAS_Confidencial DEFAULT (0)
)
GO
CREATE TABLE dbo.MV_ASIENTOS (
    ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    Fecha datetime NOT NULL,
    Cuenta varchar(20) NOT NULL,
    Importe money NOT NULL CONSTRAINT DF_MV_ASIENTOS_Importe DEFAULT (0),
    Confidencial bit NOT NULL CONSTRAINT DF_MV_ASIENTOS_Confidencial DEFAULT (0)
)
GO
CREATE TABLE dbo.AC_CUENTASDIARIO (
    Cuenta varchar(20) NOT NULL PRIMARY KEY,
    Saldo money NOT NULL CONSTRAINT DF_AC_CUENTASDIARIO_Saldo DEFAULT (0)
)
GO
CREATE TABLE dbo.AC_CUENTASDIARIO_CCOSTO (
    Cuenta varchar(20) NOT NULL,
    CCosto varchar(4) NOT NULL,
    Saldo money NOT NULL CONSTRAINT DF_AC_CUENTASDIARIO_CCOSTO_Saldo DEFAULT (0),
    CONSTRAINT PK_AC_CUENTASDIARIO_CCOSTO PRIMARY KEY (Cuenta, CCosto)
)
GO
CREATE TABLE dbo.MA_POSICIONES (
    IDPOSICION varchar(20) NOT NULL PRIMARY KEY,
    Descripcion varchar(60) NOT NULL
)
GO
-- Articles, for the lookups of the suite's stock programs.
CREATE TABLE dbo.MA_ARTICULOS (
    IdArticulo varchar(25) NOT NULL PRIMARY KEY,
    Descripcion varchar(60) NOT NULL,
    IdFamilia varchar(10) NULL,
    PuntoPedido numeric(18,4) NOT NULL CONSTRAINT DF_MA_ARTICULOS_PuntoPedido DEFAULT (0),
    Stock numeric(18,4) NOT NULL CONSTRAINT DF_MA_ARTICULOS_Stock DEFAULT (0),
    Precio1 money NOT NULL CONSTRAINT DF_MA_ARTICULOS_Precio1 DEFAULT (0),
    Precio2 money NOT NULL CONSTRAINT DF_MA_ARTICULOS_Precio2 DEFAULT (0),
    Suspendido bit NOT NULL CONSTRAINT DF_MA_ARTICULOS_Suspendido DEFAULT (0)
)
GO
CREATE TABLE dbo.V_MV_FALTANTES (
    ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    FechaHora varchar(30) NULL,
    IdArticulo varchar(25) NULL,
    Descripcion varchar(60) NULL,
    Usuario varchar(30) NULL
)
GO
CREATE VIEW dbo.V_TA_FAMILIAS AS SELECT IdFamilia, Descripcion, Confidencial FROM dbo.TA_FAMILIAS
GO
CREATE VIEW dbo.V_MA_ARTICULOS AS SELECT IdArticulo, Descripcion, IdFamilia, PuntoPedido, Stock, Precio1, Precio2, Suspendido FROM dbo.MA_ARTICULOS
GO
CREATE VIEW dbo.VT_MA_ARTICULOS AS SELECT IdArticulo, Descripcion, IdFamilia, PuntoPedido, Stock, Precio1, Precio2, Suspendido FROM dbo.MA_ARTICULOS
GO
CREATE VIEW dbo.STK_MA_ARTICULOS AS SELECT IdArticulo, Descripcion, PuntoPedido, Stock, Precio1, Precio2 FROM dbo.MA_ARTICULOS WHERE Suspendido = 0
GO
CREATE VIEW dbo.V_TA_DEPOSITO AS SELECT IdDeposito, Descripcion, Unidad, Confidencial FROM dbo.TA_DEPOSITO
GO
CREATE VIEW dbo.V_TA_CAJAS AS SELECT IdCaja, Descripcion, Confidencial FROM dbo.TA_CAJAS
GO
-- Restricted views: what a user who is not an administrator may see.
CREATE VIEW dbo.SS_MA_CUENTAS AS SELECT * FROM dbo.MA_CUENTAS WHERE Confidencial = 0
GO
CREATE VIEW dbo.SS_V_TA_FAMILIAS AS SELECT * FROM dbo.V_TA_FAMILIAS WHERE Confidencial = 0
GO
CREATE VIEW dbo.SS_V_TA_DEPOSITO AS SELECT * FROM dbo.V_TA_DEPOSITO WHERE Confidencial = 0
GO
CREATE VIEW dbo.SS_V_TA_CAJAS AS SELECT * FROM dbo.V_TA_CAJAS WHERE Confidencial = 0
GO
CREATE VIEW dbo.SS_MV_ASIENTOS AS SELECT * FROM dbo.MV_ASIENTOS WHERE Confidencial = 0
GO
CREATE VIEW dbo.SS_AC_CUENTASDIARIO AS SELECT d.* FROM dbo.AC_CUENTASDIARIO d INNER JOIN dbo.MA_CUENTAS c ON c.Codigo = d.Cuenta WHERE c.Confidencial = 0
GO
CREATE VIEW dbo.SS_AC_CUENTAS_DIARIO_CCOSTO AS SELECT d.* FROM dbo.AC_CUENTASDIARIO_CCOSTO d INNER JOIN dbo.MA_CUENTAS c ON c.Codigo = d.Cuenta WHERE c.Confidencial = 0
GO
