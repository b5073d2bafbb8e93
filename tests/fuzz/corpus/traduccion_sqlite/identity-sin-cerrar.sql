CREATE TABLE [dbo].[TA_CCOSTO] (
 [Codigo] varchar(4) NOT NULL PRIMARY KEY CLUSTERED,
 Descripcion nvarchar(60) COLLATE ModernapS_nish_CI_A# NULL,
 Id int IDENTITY(1,1ÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿHERE ISNTLL(Descripc
 Importe mon<> 'ZZ'
go
