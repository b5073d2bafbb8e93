CREATE TABLE [dbo].[TA_CCOSTO] (
 [Codigo] varchar(4) NOT NULL PRIMARY KEY CLUSTERED,
 Descripcion nvarchar(TABLE [dbo].[TA_CCOSTO] (
 [Codigo] varchar(4) NOT NULL PRIMARY KEY CLUSTERED,
 Descripcion nvarchar(60) COLLATE Modern_SSTO WHERE Codigo <> 'ZZ'
go
