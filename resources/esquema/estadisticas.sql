-- Statistics database VL_ESTADISTICAS: the suite-wide configuration.
CREATE TABLE dbo.TA_CONFIGURACION (
    ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    Grupo varchar(30) NULL,
    Clave varchar(50) NOT NULL,
    Valor varchar(255) NULL,
    valoraux varchar(255) NULL,
    PoliticaNegocio bit NOT NULL CONSTRAINT DF_TA_CONFIGURACION_PoliticaNegocio DEFAULT (0)
)
GO
